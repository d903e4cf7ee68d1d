#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "platform/OleArray.h"
#include "platform/Variant.h"

namespace tagwell {

// The texts the explorer writes into its event list, one function per kind
// of line. Numbers are decimal, dates and times in the general date text
// (OleDate::toText), values in their general text form.
class UpdateLineText {
public:
    // The fixed lines of the menu commands.
    static constexpr const char* LoadingDefault =
        "Loading hard-coded configuration programatically, please wait...";
    static constexpr const char* LoadedDefault = "Hard-coded configuration loaded programatically";
    static constexpr const char* ConfigLoaded = "Configuration loaded successfully from file ";
    static constexpr const char* ConfigNotLoaded = "Error loading from configuration file ";
    static constexpr const char* ConfigSaved = "Configuration saved successfully to file ";
    static constexpr const char* ConfigNotSaved = "Error saving to configuration file ";

    // "Server Added: Server 0, ICONICS.Simulator.1": the server's key and
    // the ProgID it was connected by.
    static QString ServerAdded(const QString& serverKey, const QString& progId);
    static QString ServerShutdown(const QString& serverKey, const QString& reason);
    // Key, key and name with nothing between them.
    static QString GroupAdded(const QString& serverKey, const QString& groupKey,
                              const QString& groupName);
    static QString ItemAdded(const QString& serverKey, const QString& groupKey,
                             const QString& itemKey, const QString& itemName,
                             qint32 totalItemCount);
    static QString OPCError(const QString& description);

    // The lines of one item's collected updates: its ID, the count, then the
    // value, time stamp and quality of each update from 1 to count. A line
    // whose element is missing or cannot be shown (a null value) is left
    // out; the others follow.
    static QStringList BatchItemUpdate(const QString& fullItemId, qint32 count,
                                       const OleArray<Variant>& values,
                                       const OleArray<double>& dateTimes,
                                       const OleArray<qint32>& qualities);
    // "<count> updates received, <date and time>".
    static QString BatchAllUpdates(qint32 count, double now);

    // A value as the lists show it: an array as each of its elements followed
    // by ", " (the last one too), anything else in its general text form.
    // Nothing when it cannot be shown.
    static std::optional<QString> ValueText(const Variant& value);
    static QString DateText(double oleDate);
};

}  // namespace tagwell
