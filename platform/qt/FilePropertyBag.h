#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "platform/qt/PropertyBag.h"

namespace tagwell {

// A property bag kept in a file, for hosts that persist their controls'
// properties between runs.
//
// The bag works in memory; load() fills it from a file and save() writes it
// out, both in INI form (QSettings' format: one "key=value" line per stored
// property; a key with "/" in it lands in a section named by its first part,
// so several controls can share one file under their own prefixes).
//
// Values come back from a file as text; read() converts them to the type of
// the default it is given, so read("ScaleHeight", 555.0) gives a double and
// read("ShowValueInToolTip", false) a bool. A stored text that does not
// convert to the default's type gives the default.
//
// Failures are values: load() and save() return false and leave the reason in
// lastError(). A failed load leaves the bag empty.
class FilePropertyBag : public PropertyBag {
public:
    QVariant read(const QString& key, const QVariant& defaultValue) override;
    void write(const QString& key, const QVariant& value, const QVariant& defaultValue) override;

    // Replaces the bag's contents by the file's. False when the file is
    // missing, unreadable or not in INI form.
    bool load(const QString& path);
    // Writes every stored property to the file, replacing it. False when the
    // file cannot be written.
    bool save(const QString& path);

    // Why the last load or save failed; empty after a success.
    const QString& lastError() const { return m_lastError; }

    bool contains(const QString& key) const { return m_values.contains(key); }
    QStringList keys() const { return m_values.keys(); }
    void clear() { m_values.clear(); }

private:
    bool fail(const QString& reason);

    QVariantMap m_values;
    QString m_lastError;
};

}  // namespace tagwell
