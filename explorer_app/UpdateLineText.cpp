#include "explorer_app/UpdateLineText.h"

#include "platform/ComError.h"
#include "platform/OleDate.h"

namespace tagwell {

namespace {

constexpr const char* ElementSeparator = ", ";

QString numbered(const char* name, qint32 index, const QString& text)
{
    return QStringLiteral("%1(%2) = %3").arg(QLatin1String(name)).arg(index).arg(text);
}

std::optional<QString> arrayText(const VariantArray& array)
{
    QString text;
    for (const Variant& element : array.elements) {
        const std::optional<QString> elementText = UpdateLineText::ValueText(element);
        if (!elementText)
            return std::nullopt;
        text += *elementText + ElementSeparator;
    }
    return text;
}

}  // namespace

QString UpdateLineText::ServerAdded(const QString& serverKey, const QString& progId)
{
    return "Server Added: " + serverKey + ", " + progId;
}

QString UpdateLineText::ServerShutdown(const QString& serverKey, const QString& reason)
{
    return "OPC Server Shutdown, serverkey =  " + serverKey + ", Reason = " + reason;
}

QString UpdateLineText::GroupAdded(const QString& serverKey, const QString& groupKey,
                                   const QString& groupName)
{
    return serverKey + groupKey + groupName;
}

QString UpdateLineText::ItemAdded(const QString& serverKey, const QString& groupKey,
                                  const QString& itemKey, const QString& itemName,
                                  qint32 totalItemCount)
{
    return serverKey + groupKey + itemKey + itemName + QString::number(totalItemCount);
}

QString UpdateLineText::OPCError(const QString& description) { return "OPC Error: " + description; }

QStringList UpdateLineText::BatchItemUpdate(const QString& fullItemId, qint32 count,
                                            const OleArray<Variant>& values,
                                            const OleArray<double>& dateTimes,
                                            const OleArray<qint32>& qualities)
{
    QStringList lines{"ItemID = " + fullItemId, "Count = " + QString::number(count)};
    for (qint32 i = 1; i <= count; ++i) {
        if (values.contains(i)) {
            if (const std::optional<QString> value = ValueText(values[i]))
                lines << numbered("Value", i, *value);
        }
        if (dateTimes.contains(i))
            lines << numbered("Timestamp", i, DateText(dateTimes[i]));
        if (qualities.contains(i))
            lines << numbered("Quality", i, QString::number(qualities[i]));
    }
    return lines;
}

QString UpdateLineText::BatchAllUpdates(qint32 count, double now)
{
    return QString::number(count) + " updates received, " + DateText(now);
}

std::optional<QString> UpdateLineText::ValueText(const Variant& value)
{
    try {
        if (value.isArray())
            return arrayText(value.toArray());
        return QString::fromStdString(value.toString());
    } catch (const ComError&) {
        return std::nullopt;
    }
}

QString UpdateLineText::DateText(double oleDate)
{
    return QString::fromStdString(OleDate::toText(oleDate));
}

}  // namespace tagwell
