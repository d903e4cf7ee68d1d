#pragma once

#include <functional>
#include <memory>
#include <string>

namespace tagwell {

class CPacetick;
class OPCServer;

// Checks that the explorer can reach the two components it depends on at
// run time: the timer library (a CPacetick can be made) and the OPC
// automation layer (a server object can list the servers of this computer).
//
// A failed check is told to the user in message boxes with an OK button:
// first that the component is being registered, then what to do on this
// system (the libraries need no registration here; what helps is having
// them installed and reachable), then to restart the explorer. When both
// checks pass, one box says so.
class ComponentRegistrations {
public:
    using TimerMaker = std::function<std::shared_ptr<CPacetick>()>;
    using ServerMaker = std::function<std::unique_ptr<OPCServer>()>;

    static constexpr const char* RegisteringTimer = "Attempting to register Pacetick.dll";
    static constexpr const char* RegisteringWrapper = "Attempting to register AutomationWrapper dll";
    static constexpr const char* RestartAdvice =
        "If the registration was successful, please restart the application and try again.";
    static constexpr const char* AllRegistered = "All components appear to be registered correctly.";

    // By default the real timer and automation server objects are made.
    ComponentRegistrations();

    void setTimerMaker(TimerMaker maker) { m_makeTimer = std::move(maker); }
    void setServerMaker(ServerMaker maker) { m_makeServer = std::move(maker); }

    // Runs both checks and shows their messages.
    void CheckComponentRegistrations();

    // A timer object can be made (and is released again).
    bool IsTimerRegistered();
    // A server object can be made and lists this computer's servers.
    bool IsAutomationWrapperRegistered();

    // What the user is told to do when a check failed; the wrapper's text
    // names the failure of the last check.
    void RegisterTimerLibrary();
    void RegisterAutomationWrapper();
    std::string TimerAdvice() const;
    std::string WrapperAdvice() const;

private:
    TimerMaker m_makeTimer;
    ServerMaker m_makeServer;
    std::string m_timerFailure;
    std::string m_wrapperFailure;
};

}  // namespace tagwell
