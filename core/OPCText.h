#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tagwell {

// Server states of the automation interface, and the values the state probe
// adds when there is no server object or its state cannot be read.
enum OPCServerState : int32_t {
    OPCRunning = 1,
    OPCFailed = 2,
    OPCNoconfig = 3,
    OPCSuspended = 4,
    OPCTest = 5,
    OPCDisconnected = 6,
    ServerStateUnreadable = 99,
    NoServerObject = 999,
};

// The words for quality numbers, data type codes, access rights and server
// states, as the controls and dialogs show them.
class OPCText {
public:
    // The full text of a quality; "??" for any number not in the table.
    static std::string QualityText(int32_t quality);
    // "Good" when either of the two top quality bits is set, otherwise "Bad"
    // and the quality in signed-field form ("Bad  0").
    static std::string ShortQualityText(int32_t quality);

    // A canonical type as the item properties show it ("Short Integer - 16
    // bit Signed", "... Array" for arrays).
    static std::string PropertiesDataTypeText(int32_t type);
    // A canonical type as the write dialog shows it ("Integer - 16 bit
    // Signed", "...Array" for arrays).
    static std::string WriteDataTypeText(int32_t type);

    // The data types offered when items are added or filtered, in order.
    static const std::vector<std::pair<std::string, int16_t>>& DataTypeChoices();
    // "Any", "Read Only", "Write Only", "Read/Write" for 0 to 3.
    static const std::vector<std::string>& AccessRightsChoices();

    // The server properties dialog's text of a state: empty for 99;
    // nothing (the dialog keeps what it shows) for 999 and unknown states.
    static std::optional<std::string> ServerStateText(int32_t state);
    // The status message the data control logs for a state: empty when
    // nothing is to be said (running, no server object).
    static std::string ServerStateMessage(int32_t state);
};

}  // namespace tagwell
