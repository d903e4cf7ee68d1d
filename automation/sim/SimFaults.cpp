#include "automation/sim/SimFaults.h"

#include "platform/ComError.h"
#include "platform/TextCase.h"

namespace tagwell {

void SimFaults::fail(const std::string& operation, int32_t error, int32_t times)
{
    if (times == 0)
        return clear(operation);
    m_faults[TextCase::lower(operation)] = Fault{error, times < 0 ? Always : times};
}

void SimFaults::clear(const std::string& operation)
{
    m_faults.erase(TextCase::lower(operation));
}

void SimFaults::clearAll()
{
    m_faults.clear();
    m_refusal.reset();
}

void SimFaults::trigger(const std::string& key, const char* object, const char* member)
{
    const auto found = m_faults.find(key);
    if (found == m_faults.end())
        return;
    const Fault fault = found->second;
    if (fault.remaining != Always && --found->second.remaining == 0)
        m_faults.erase(found);
    throw ComError(fault.error, object,
                   std::string("The simulated server failed ") + object + "." + member);
}

void SimFaults::check(const char* object, const char* member)
{
    if (m_faults.empty())
        return;
    const std::string name = TextCase::lower(member);
    trigger(TextCase::lower(object) + "." + name, object, member);
    trigger(name, object, member);
}

}  // namespace tagwell
