#include "timer/PacetickError.h"

namespace tagwell {

PacetickError::PacetickError(int32_t number, std::string source, std::string description)
    : std::runtime_error(source + ": " + description),
      m_number(number),
      m_source(std::move(source)),
      m_description(std::move(description))
{
}

}  // namespace tagwell
