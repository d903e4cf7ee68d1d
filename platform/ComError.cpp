#include "platform/ComError.h"

namespace tagwell {

ComError::ComError(int32_t number, std::string source, std::string description)
    : std::runtime_error(description.empty() ? source : description),
      m_number(number),
      m_source(std::move(source)),
      m_description(std::move(description))
{
}

}  // namespace tagwell
