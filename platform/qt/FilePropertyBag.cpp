#include "platform/qt/FilePropertyBag.h"

#include <QFileInfo>
#include <QSettings>
#include <optional>

namespace tagwell {

namespace {

QString statusText(QSettings::Status status)
{
    switch (status) {
    case QSettings::AccessError: return QStringLiteral("the file cannot be read or written");
    case QSettings::FormatError: return QStringLiteral("the file is not in INI form");
    default: return {};
    }
}

// A stored value in the type of the default, or nothing when it does not
// convert. Values read from a file arrive as text.
std::optional<QVariant> inTypeOf(const QVariant& stored, const QVariant& defaultValue)
{
    if (!defaultValue.isValid() || stored.metaType() == defaultValue.metaType())
        return stored;
    QVariant converted = stored;
    if (!converted.convert(defaultValue.metaType()))
        return std::nullopt;
    return converted;
}

}  // namespace

QVariant FilePropertyBag::read(const QString& key, const QVariant& defaultValue)
{
    const auto found = m_values.constFind(key);
    if (found == m_values.constEnd())
        return defaultValue;
    return inTypeOf(*found, defaultValue).value_or(defaultValue);
}

void FilePropertyBag::write(const QString& key, const QVariant& value, const QVariant& defaultValue)
{
    if (value == defaultValue)
        m_values.remove(key);
    else
        m_values.insert(key, value);
}

bool FilePropertyBag::load(const QString& path)
{
    m_values.clear();
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("no such file: ") + path);
    QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError)
        return fail(statusText(file.status()));
    const QStringList keys = file.allKeys();
    for (const QString& key : keys)
        m_values.insert(key, file.value(key));
    m_lastError.clear();
    return true;
}

bool FilePropertyBag::save(const QString& path)
{
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("a folder has that name: ") + path);
    QSettings file(path, QSettings::IniFormat);
    file.clear();
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
        file.setValue(it.key(), it.value());
    file.sync();
    if (file.status() != QSettings::NoError)
        return fail(statusText(file.status()));
    m_lastError.clear();
    return true;
}

bool FilePropertyBag::fail(const QString& reason)
{
    m_lastError = reason;
    return false;
}

}  // namespace tagwell
