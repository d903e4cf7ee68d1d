#include "PacetickTestSupport.h"

namespace tagwell::test {

SignalLog::SignalLog(CPacetick& timer)
{
    const auto record = [this](const char* name) { return [this, name] { m_names.emplace_back(name); }; };
    QObject::connect(&timer, &CPacetick::OneMillisecond, record("OneMillisecond"));
    QObject::connect(&timer, &CPacetick::TenMilliseconds, record("TenMilliseconds"));
    QObject::connect(&timer, &CPacetick::OneHundredMilliseconds, record("OneHundredMilliseconds"));
    QObject::connect(&timer, &CPacetick::Time1, record("Time1"));
    QObject::connect(&timer, &CPacetick::Time2, record("Time2"));
    QObject::connect(&timer, &CPacetick::Time3, record("Time3"));
    QObject::connect(&timer, &CPacetick::Time4, record("Time4"));
    QObject::connect(&timer, &CPacetick::Time5, record("Time5"));
    QObject::connect(&timer, &CPacetick::Countdown1, record("Countdown1"));
    QObject::connect(&timer, &CPacetick::Countdown2, record("Countdown2"));
    QObject::connect(&timer, &CPacetick::Countdown3, record("Countdown3"));
    QObject::connect(&timer, &CPacetick::Countdown4, record("Countdown4"));
    QObject::connect(&timer, &CPacetick::Countdown5, record("Countdown5"));
    QObject::connect(&timer, &CPacetick::UserError, [this](qint32& number, QString& text) {
        m_names.push_back("UserError " + std::to_string(number) + " " + text.toStdString());
    });
}

std::string SignalLog::takeJoined()
{
    const std::vector<std::string> fresh(m_names.begin() + static_cast<std::ptrdiff_t>(m_taken), m_names.end());
    m_taken = m_names.size();
    return joined(fresh);
}

std::string joined(const std::vector<std::string>& names)
{
    std::string result;
    for (const std::string& name : names)
        result += (result.empty() ? "" : ",") + name;
    return result;
}

}  // namespace tagwell::test
