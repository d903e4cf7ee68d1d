#pragma once

#include <QStringList>
#include <QVariantMap>

#include "platform/qt/PropertyBag.h"

namespace tagwell {

// A property bag held in memory: for tests, and for hosts that keep a widget's
// properties themselves (copying a configured widget, ready-made settings).
class MemoryPropertyBag : public PropertyBag {
public:
    QVariant read(const QString& key, const QVariant& defaultValue) override
    {
        return m_values.value(key, defaultValue);
    }

    void write(const QString& key, const QVariant& value, const QVariant& defaultValue) override
    {
        if (value == defaultValue)
            m_values.remove(key);
        else
            m_values.insert(key, value);
    }

    bool contains(const QString& key) const { return m_values.contains(key); }
    QStringList keys() const { return m_values.keys(); }
    const QVariantMap& values() const { return m_values; }
    void clear() { m_values.clear(); }

private:
    QVariantMap m_values;
};

}  // namespace tagwell
