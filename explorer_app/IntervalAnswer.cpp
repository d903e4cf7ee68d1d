#include "explorer_app/IntervalAnswer.h"

#include <QLocale>
#include <cmath>

namespace tagwell {

IntervalAnswer IntervalAnswer::Parse(const QString& answer)
{
    bool numeric = false;
    const double value = QLocale::c().toDouble(answer.trimmed(), &numeric);
    if (!numeric || !std::isfinite(value))
        return {Kind::NotNumeric, 0};
    const double rounded = std::nearbyint(value);
    if (rounded < Smallest || rounded > Largest)
        return {Kind::OutOfRange, 0};
    return {Kind::Accepted, static_cast<int16_t>(rounded)};
}

}  // namespace tagwell
