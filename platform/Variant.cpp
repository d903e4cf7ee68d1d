#include "platform/Variant.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <strings.h>

#include "platform/ComError.h"
#include "platform/OleDate.h"
#include "platform/ValueText.h"

namespace tagwell {

namespace {

constexpr const char* Source = "Variant";

[[noreturn]] void typeMismatch()
{
    throw ComError(errors::TypeMismatch, Source, "Type mismatch");
}
[[noreturn]] void overflow() { throw ComError(errors::Overflow, Source, "Overflow"); }
[[noreturn]] void invalidUseOfNull() { throw ComError(94, Source, "Invalid use of Null"); }

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool equalsIgnoringCase(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

double numberFromText(const std::string& text)
{
    const std::string t = trimmed(text);
    if (equalsIgnoringCase(t, "True"))
        return -1;
    if (equalsIgnoringCase(t, "False"))
        return 0;
    if (t.empty())
        typeMismatch();
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || std::isnan(value))
        typeMismatch();
    if (errno == ERANGE && std::isinf(value))
        overflow();
    return value;
}

template <class Int>
Int roundedInteger(double value)
{
    const double r = std::nearbyint(value);  // half to even under the default rounding mode
    if (!(r >= double(std::numeric_limits<Int>::min()) && r <= double(std::numeric_limits<Int>::max())))
        overflow();
    return static_cast<Int>(r);
}

}  // namespace

Variant::Variant(VariantArray array)
    : m_value(std::make_shared<const VariantArray>(std::move(array)))
{
}

Variant Variant::array(uint16_t elementType, std::vector<Variant> elements, int32_t lowerBound)
{
    return Variant(VariantArray{elementType, OleArray<Variant>(lowerBound, std::move(elements))});
}

uint16_t Variant::type() const
{
    struct Code {
        uint16_t operator()(std::monostate) const { return vtEmpty; }
        uint16_t operator()(Null) const { return vtNull; }
        uint16_t operator()(bool) const { return vtBool; }
        uint16_t operator()(uint8_t) const { return vtUI1; }
        uint16_t operator()(int16_t) const { return vtI2; }
        uint16_t operator()(int32_t) const { return vtI4; }
        uint16_t operator()(float) const { return vtR4; }
        uint16_t operator()(double) const { return vtR8; }
        uint16_t operator()(Date) const { return vtDate; }
        uint16_t operator()(const std::string&) const { return vtString; }
        uint16_t operator()(const std::shared_ptr<const VariantArray>& a) const
        {
            return uint16_t(vtArray | a->elementType);
        }
    };
    return std::visit(Code{}, m_value);
}

bool Variant::isArray() const
{
    return std::holds_alternative<std::shared_ptr<const VariantArray>>(m_value);
}

bool Variant::isNumeric() const
{
    switch (type()) {
    case vtBool: case vtUI1: case vtI2: case vtI4: case vtR4: case vtR8: return true;
    default: return false;
    }
}

double Variant::toR8() const
{
    struct ToDouble {
        double operator()(std::monostate) const { return 0; }
        double operator()(Null) const { invalidUseOfNull(); }
        double operator()(bool v) const { return v ? -1 : 0; }
        double operator()(uint8_t v) const { return v; }
        double operator()(int16_t v) const { return v; }
        double operator()(int32_t v) const { return v; }
        double operator()(float v) const { return v; }
        double operator()(double v) const { return v; }
        double operator()(Date v) const { return v.ole; }
        double operator()(const std::string& v) const { return numberFromText(v); }
        double operator()(const std::shared_ptr<const VariantArray>&) const { typeMismatch(); }
    };
    return std::visit(ToDouble{}, m_value);
}

bool Variant::toBool() const
{
    if (const bool* b = get<bool>())
        return *b;
    return toR8() != 0;
}

uint8_t Variant::toByte() const { return roundedInteger<uint8_t>(toR8()); }
int16_t Variant::toI2() const { return roundedInteger<int16_t>(toR8()); }
int32_t Variant::toI4() const { return roundedInteger<int32_t>(toR8()); }

float Variant::toR4() const
{
    const double d = toR8();
    if (std::isfinite(d) && std::fabs(d) > double(std::numeric_limits<float>::max()))
        overflow();
    return static_cast<float>(d);
}

double Variant::toDate() const
{
    if (const std::string* s = get<std::string>()) {
        if (auto parsed = OleDate::parse(trimmed(*s)))
            return *parsed;
    }
    return toR8();
}

std::string Variant::toString() const
{
    struct ToText {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(Null) const { invalidUseOfNull(); }
        std::string operator()(bool v) const { return ValueText::ofBoolean(v); }
        std::string operator()(uint8_t v) const { return ValueText::plain(v); }
        std::string operator()(int16_t v) const { return ValueText::plain(v); }
        std::string operator()(int32_t v) const { return ValueText::plain(v); }
        std::string operator()(float v) const { return ValueText::ofFloat(v); }
        std::string operator()(double v) const { return ValueText::ofDouble(v); }
        std::string operator()(Date v) const { return OleDate::toText(v.ole); }
        std::string operator()(const std::string& v) const { return v; }
        std::string operator()(const std::shared_ptr<const VariantArray>&) const { typeMismatch(); }
    };
    return std::visit(ToText{}, m_value);
}

const VariantArray& Variant::toArray() const
{
    if (auto a = get<std::shared_ptr<const VariantArray>>())
        return **a;
    typeMismatch();
}

Variant Variant::convertTo(uint16_t target) const
{
    if (target == vtEmpty || target == vtVariant || target == type())
        return *this;
    if (target & vtArray) {
        const uint16_t elementType = target & ~vtArray;
        const VariantArray& source = toArray();
        std::vector<Variant> converted;
        converted.reserve(source.elements.size());
        for (const Variant& element : source.elements)
            converted.push_back(element.convertTo(elementType));
        return Variant::array(elementType, std::move(converted), source.elements.lbound());
    }
    if (isArray())
        typeMismatch();
    switch (target) {
    case vtBool: return Variant(toBool());
    case vtUI1: return Variant(toByte());
    case vtI2: return Variant(toI2());
    case vtI4: return Variant(toI4());
    case vtR4: return Variant(toR4());
    case vtR8: return Variant(toR8());
    case vtDate: return Variant::fromDate(toDate());
    case vtString: return Variant(toString());
    case vtNull: return Variant::null();
    default: typeMismatch();
    }
}

bool Variant::operator==(const Variant& other) const
{
    if (m_value.index() != other.m_value.index())
        return false;
    if (isArray()) {
        const VariantArray& a = toArray();
        const VariantArray& b = other.toArray();
        return a.elementType == b.elementType && a.elements == b.elements;
    }
    return m_value == other.m_value;
}

}  // namespace tagwell
