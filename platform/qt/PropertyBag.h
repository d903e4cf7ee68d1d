#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace tagwell {

// Where a widget keeps its persisted properties between sessions of its host.
//
// A host hands the bag to the widget when it saves the form and again when it
// loads it. Values are stored under the widget's own keys. Every write names
// the property's default: a value equal to its default is not stored, so a bag
// holds only what differs from a fresh widget, and every read names the same
// default, which is returned when the key is absent.
//
// The interface is header-only so that any widget library can take a bag
// without linking another library.
class PropertyBag {
public:
    virtual ~PropertyBag() = default;

    // The value stored under key, or defaultValue when there is none.
    virtual QVariant read(const QString& key, const QVariant& defaultValue) = 0;

    // Stores value under key; a value equal to defaultValue leaves the key
    // absent (an earlier value under that key is dropped).
    virtual void write(const QString& key, const QVariant& value, const QVariant& defaultValue) = 0;

    // A stored flag: a boolean, a number (0 is False) or the text "true" or
    // "false" in any letter case; nothing for anything else, so that a value
    // a person mistyped is not taken as True.
    std::optional<bool> readFlag(const QString& key, bool defaultValue)
    {
        const QVariant value = read(key, defaultValue);
        if (value.typeId() == QMetaType::Bool)
            return value.toBool();
        bool isNumber = false;
        const double number = value.toDouble(&isNumber);
        if (isNumber)
            return number != 0;
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        return std::nullopt;
    }
};

}  // namespace tagwell
