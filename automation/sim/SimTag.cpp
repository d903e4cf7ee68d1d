#include "automation/sim/SimTag.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tagwell {

namespace {
constexpr int32_t QualityGood = 192;

uint64_t fnv1a(const std::string& text)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// A well-mixed 64-bit hash of a seed and a step number (splitmix64 finaliser).
uint64_t mix(uint64_t seed, uint64_t step)
{
    uint64_t z = seed + 0x9E3779B97F4A7C15ull * (step + 1);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double unitInterval(uint64_t bits) { return double(bits >> 11) / double(1ull << 53); }

template <class T>
T clampedRound(double value)
{
    const double lo = double(std::numeric_limits<T>::lowest());
    const double hi = double(std::numeric_limits<T>::max());
    return static_cast<T>(std::clamp(std::nearbyint(value), lo, hi));
}
}  // namespace

SimTag::SimTag(Definition definition, double createdAt)
    : m_def(std::move(definition)), m_value(m_def.initial), m_writtenAt(createdAt),
      m_quality(QualityGood)
{
    if (m_def.period.count() < 1)
        m_def.period = std::chrono::milliseconds(1);
    if (m_def.signal == SimSignal::Static && m_value.isEmpty())
        m_value = zeroValue();
}

Variant SimTag::zeroValue() const
{
    const Variant zero = typed(0);
    if (!(m_def.canonicalType & vtArray))
        return zero;
    return Variant::array(uint16_t(m_def.canonicalType & ~vtArray),
                          std::vector<Variant>(size_t(std::max(m_def.arrayLength, 0)), zero));
}

double SimTag::fraction(std::chrono::milliseconds now) const
{
    const int64_t period = m_def.period.count();
    const int64_t at = (now + m_def.phase).count();
    return double(((at % period) + period) % period) / double(period);
}

double SimTag::scalarAt(std::chrono::milliseconds now, int32_t element) const
{
    // Elements of an array tag are the same signal spread evenly over one period.
    const auto shift = m_def.arrayLength > 0 ? m_def.period * element / m_def.arrayLength
                                             : std::chrono::milliseconds(0);
    const auto at = now + shift;
    const double span = m_def.high - m_def.low;
    switch (m_def.signal) {
    case SimSignal::Ramp:
        return m_def.low + span * fraction(at);
    case SimSignal::Sine:
        return m_def.low + span * (0.5 + 0.5 * std::sin(2 * std::numbers::pi * fraction(at)));
    case SimSignal::Random: {
        const uint64_t step = uint64_t((at + m_def.phase).count() / m_def.period.count());
        return m_def.low + span * unitInterval(mix(fnv1a(m_def.itemId) + uint64_t(element), step));
    }
    case SimSignal::Toggle: {
        const int64_t half = std::max<int64_t>(1, m_def.period.count() / 2);
        return double(((at + m_def.phase).count() / half) % 2);
    }
    case SimSignal::Static:
    case SimSignal::Cycle:
        break;
    }
    return 0;
}

Variant SimTag::typed(double value) const
{
    switch (m_def.canonicalType & ~vtArray) {
    case vtBool: return Variant(value >= 0.5);
    case vtUI1: return Variant(clampedRound<uint8_t>(value));
    case vtI2: return Variant(clampedRound<int16_t>(value));
    case vtI4: return Variant(clampedRound<int32_t>(value));
    case vtR4: return Variant(float(value));
    case vtString: return Variant(value).toString();
    default: return Variant(value);
    }
}

Variant SimTag::valueAt(std::chrono::milliseconds now) const
{
    if (m_def.signal == SimSignal::Static)
        return m_value;
    if (m_def.signal == SimSignal::Cycle) {
        if (m_def.texts.empty())
            return Variant(std::string());
        const auto step = size_t((now + m_def.phase).count() / m_def.period.count());
        return Variant(m_def.texts[step % m_def.texts.size()]);
    }
    if (m_def.arrayLength <= 0)
        return typed(scalarAt(now, 0));
    std::vector<Variant> elements;
    elements.reserve(size_t(m_def.arrayLength));
    for (int32_t i = 0; i < m_def.arrayLength; ++i)
        elements.push_back(typed(scalarAt(now, i)));
    return Variant::array(uint16_t(m_def.canonicalType & ~vtArray), std::move(elements));
}

double SimTag::timestampAt(double currentDate) const
{
    return m_def.signal == SimSignal::Static ? m_writtenAt : currentDate;
}

void SimTag::store(const Variant& value, double date)
{
    m_def.signal = SimSignal::Static;
    m_value = value;
    m_writtenAt = date;
}

}  // namespace tagwell
