#include "timer/ITimer.h"

namespace tagwell {

ITimer::~ITimer() = default;

}  // namespace tagwell
