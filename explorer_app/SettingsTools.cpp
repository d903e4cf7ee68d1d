#include "explorer_app/SettingsTools.h"

#include "core/MGlobal.h"
#include "explorer_app/ProgramStarter.h"
#include "platform/MessageBoxService.h"
#include "platform/Services.h"

namespace tagwell {

namespace {

constexpr const char* NoTitle = "";

std::string programNames(SettingsTools::Tool tool)
{
    std::string names;
    for (const auto& command : SettingsTools::Candidates(tool))
        names += (names.empty() ? "" : ", ") + command.program;
    return names;
}

}  // namespace

const std::vector<SettingsTools::Command>& SettingsTools::Candidates(Tool tool)
{
    static const std::vector<Command> network{
        {"nm-connection-editor", {}},
        {"gnome-control-center", {"network"}},
        {"kcmshell6", {"kcm_networkmanagement"}},
        {"kcmshell5", {"kcm_networkmanagement"}},
    };
    static const std::vector<Command> identification{
        {"gnome-control-center", {"info-overview"}},
    };
    static const std::vector<Command> none;
    switch (tool) {
    case Tool::Network: return network;
    case Tool::Identification: return identification;
    case Tool::DCOM: return none;
    }
    return none;
}

bool SettingsTools::Open(Tool tool, ProgramStarter& starter)
{
    for (const Command& command : Candidates(tool)) {
        if (!starter.available(command.program))
            continue;
        if (starter.start(command.program, command.arguments))
            return true;
        break;
    }
    Services::messageBox().show(UnavailableMessage(tool), msgbox::OKOnly | msgbox::Information,
                                NoTitle);
    return false;
}

std::string SettingsTools::UnavailableMessage(Tool tool)
{
    switch (tool) {
    case Tool::Network:
        return "Network Connections is not available on this system: none of the network "
               "settings tools (" + programNames(tool) + ") could be started. Use your "
               "desktop's network settings, or nmcli in a terminal.";
    case Tool::Identification:
        return "PC Identification is not available on this system: the computer name settings "
               "(" + programNames(tool) + ") could not be started. This computer is named \"" +
               MGlobal::GetLocalComputerName() + "\"; a terminal command such as "
               "\"hostnamectl set-hostname NEWNAME\" changes it.";
    case Tool::DCOM:
        return "DCOM Configuration is not available on this system. Tagwell reaches OPC servers "
               "without DCOM, so there is nothing to configure here.";
    }
    return {};
}

}  // namespace tagwell
