#pragma once

#include <string>
#include <vector>

namespace tagwell {

class ProgramStarter;

// The desktop's settings tools behind the explorer's Help menu. Each kind of
// setting has a list of candidate programs, tried in order; the first one
// found is started. When none is found or it does not start, a message box
// says so and tells what to do instead.
//
//   Network:        nm-connection-editor, then the GNOME and KDE settings
//                   pages for the network
//   Identification: the GNOME settings page that shows and changes the
//                   computer's name
//   DCOM:           no counterpart; servers are reached without DCOM
class SettingsTools {
public:
    enum class Tool { Network, Identification, DCOM };

    struct Command {
        std::string program;
        std::vector<std::string> arguments;
    };

    // The candidates for a tool, in the order they are tried.
    static const std::vector<Command>& Candidates(Tool tool);
    // Starts the first candidate the starter can find; otherwise, or when it
    // fails to start, shows the tool's message. True when a program started.
    static bool Open(Tool tool, ProgramStarter& starter);
    // What the user is told when the tool cannot be started.
    static std::string UnavailableMessage(Tool tool);
};

}  // namespace tagwell
