#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "timer/CPacetick.h"
#include "timer/ITimer.h"

namespace tagwell::test {

// A millisecond clock the test sets by hand.
struct ManualClock {
    int32_t now = 0;
    CPacetick::Clock reader()
    {
        return [this] { return now; };
    }
};

// The channel signals a timer raised, in order, as names.
class SignalLog {
public:
    explicit SignalLog(CPacetick& timer);
    const std::vector<std::string>& names() const { return m_names; }
    // Names raised since the last call, joined with ','.
    std::string takeJoined();

private:
    std::vector<std::string> m_names;
    std::size_t m_taken = 0;
};

// An ITimer sink that writes the methods called on it into a shared log, so
// that calls can be checked even after the sink has gone.
class RecordingSink : public ITimer {
public:
    explicit RecordingSink(std::shared_ptr<std::vector<std::string>> log) : m_log(std::move(log)) {}

    void Timer1msTick() override { m_log->push_back("Timer1msTick"); }
    void Timer10msTick() override { m_log->push_back("Timer10msTick"); }
    void Timer100msTick() override { m_log->push_back("Timer100msTick"); }
    void Timer1Tick() override { m_log->push_back("Timer1Tick"); }
    void Timer2Tick() override { m_log->push_back("Timer2Tick"); }
    void Timer3Tick() override { m_log->push_back("Timer3Tick"); }
    void Timer4Tick() override { m_log->push_back("Timer4Tick"); }
    void Timer5Tick() override { m_log->push_back("Timer5Tick"); }
    void Countdown1Complete() override { m_log->push_back("Countdown1Complete"); }
    void Countdown2Complete() override { m_log->push_back("Countdown2Complete"); }
    void Countdown3Complete() override { m_log->push_back("Countdown3Complete"); }
    void Countdown4Complete() override { m_log->push_back("Countdown4Complete"); }
    void Countdown5Complete() override { m_log->push_back("Countdown5Complete"); }
    void UserError(int32_t ErrorNumber, const QString& ErrorString) override
    {
        m_log->push_back("UserError " + std::to_string(ErrorNumber) + " " + ErrorString.toStdString());
    }

private:
    std::shared_ptr<std::vector<std::string>> m_log;
};

std::string joined(const std::vector<std::string>& names);

}  // namespace tagwell::test
