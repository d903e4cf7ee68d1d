#include "explorer_app/ComponentRegistrations.h"

#include <exception>

#include "automation/OPCServer.h"
#include "platform/ComError.h"
#include "platform/MessageBoxService.h"
#include "platform/Services.h"
#include "timer/CPacetick.h"

namespace tagwell {

namespace {

constexpr const char* NoTitle = "";
constexpr const char* UnknownFailure = "unknown failure";

void tell(const std::string& text) { Services::messageBox().show(text, msgbox::OKOnly, NoTitle); }

std::string describe(const std::exception& failure) { return failure.what(); }

std::string describe(const ComError& failure)
{
    return failure.description().empty() ? std::string(failure.what()) : failure.description();
}

}  // namespace

ComponentRegistrations::ComponentRegistrations()
    : m_makeTimer([] { return CPacetick::create(); }),
      m_makeServer([] { return std::make_unique<OPCServer>(); })
{
}

void ComponentRegistrations::CheckComponentRegistrations()
{
    const bool timerRegistered = IsTimerRegistered();
    const bool wrapperRegistered = IsAutomationWrapperRegistered();
    if (!timerRegistered) {
        tell(RegisteringTimer);
        RegisterTimerLibrary();
        tell(RestartAdvice);
    }
    if (!wrapperRegistered) {
        tell(RegisteringWrapper);
        RegisterAutomationWrapper();
        tell(RestartAdvice);
    }
    if (timerRegistered && wrapperRegistered)
        tell(AllRegistered);
}

bool ComponentRegistrations::IsTimerRegistered()
{
    m_timerFailure.clear();
    try {
        std::shared_ptr<CPacetick> timer = m_makeTimer ? m_makeTimer() : nullptr;
        if (!timer)
            m_timerFailure = "no timer object could be made";
        return timer != nullptr;
    } catch (const ComError& failure) {
        m_timerFailure = describe(failure);
    } catch (const std::exception& failure) {
        m_timerFailure = describe(failure);
    } catch (...) {
        m_timerFailure = UnknownFailure;
    }
    return false;
}

bool ComponentRegistrations::IsAutomationWrapperRegistered()
{
    m_wrapperFailure.clear();
    try {
        std::unique_ptr<OPCServer> server = m_makeServer ? m_makeServer() : nullptr;
        if (!server) {
            m_wrapperFailure = "no OPC server object could be made";
            return false;
        }
        server->GetOPCServers();
        return true;
    } catch (const ComError& failure) {
        m_wrapperFailure = describe(failure);
    } catch (const std::exception& failure) {
        m_wrapperFailure = describe(failure);
    } catch (...) {
        m_wrapperFailure = UnknownFailure;
    }
    return false;
}

void ComponentRegistrations::RegisterTimerLibrary() { tell(TimerAdvice()); }

void ComponentRegistrations::RegisterAutomationWrapper() { tell(WrapperAdvice()); }

std::string ComponentRegistrations::TimerAdvice() const
{
    return "The timer library (libPacetick.so) could not make a timer object (" + m_timerFailure +
           "). Libraries need no registration on this system: make sure libPacetick.so is "
           "installed beside the explorer or on the library path, for example by building "
           "again with \"bash scripts/build.sh\".";
}

std::string ComponentRegistrations::WrapperAdvice() const
{
    return "The OPC automation layer could not list the OPC servers of this computer (" +
           m_wrapperFailure + "). Libraries need no registration on this system: make sure "
           "libTagwellControls.so is installed beside the explorer or on the library path, "
           "for example by building again with \"bash scripts/build.sh\".";
}

}  // namespace tagwell
