#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "platform/OleArray.h"

namespace tagwell {

// Variant type codes as automation uses them; an array is the element code
// plus vtArray.
enum VarType : uint16_t {
    vtEmpty = 0,
    vtNull = 1,
    vtI2 = 2,
    vtI4 = 3,
    vtR4 = 4,
    vtR8 = 5,
    vtDate = 7,
    vtString = 8,
    vtBool = 11,
    vtVariant = 12,
    vtUI1 = 17,
    vtArray = 8192,
};

class Variant;

// The array inside a Variant: its element type and its elements with their
// lower bound.
struct VariantArray {
    uint16_t elementType = vtVariant;
    OleArray<Variant> elements;
};

// The one value type of the system: what items hold, what the automation
// interface, the owner callbacks and the events carry. Copies are cheap for
// scalars and share the (immutable) storage of arrays.
//
// Conversions follow the automation rules: numbers round half to even when
// they become integers, a number out of the target's range throws error 6
// (Overflow), a text that is not a number or an array where a scalar is wanted
// throws error 13 (Type mismatch). Numeric True is -1.
class Variant {
public:
    struct Null {
        bool operator==(const Null&) const = default;
    };
    struct Date {
        double ole = 0;  // days since 1899-12-30
        bool operator==(const Date&) const = default;
    };

    Variant() = default;
    Variant(bool v) : m_value(v) {}
    Variant(uint8_t v) : m_value(v) {}
    Variant(int16_t v) : m_value(v) {}
    Variant(int32_t v) : m_value(v) {}
    Variant(float v) : m_value(v) {}
    Variant(double v) : m_value(v) {}
    Variant(Date v) : m_value(v) {}
    Variant(std::string v) : m_value(std::move(v)) {}
    Variant(const char* v) : m_value(std::string(v)) {}
    Variant(VariantArray array);

    static Variant null() { Variant v; v.m_value = Null{}; return v; }
    static Variant fromDate(double ole) { return Variant(Date{ole}); }
    // A 1-based array of the given element type.
    static Variant array(uint16_t elementType, std::vector<Variant> elements, int32_t lowerBound = 1);

    // The full type code, vtArray included for arrays.
    uint16_t type() const;
    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isNull() const { return std::holds_alternative<Null>(m_value); }
    bool isArray() const;
    bool isString() const { return std::holds_alternative<std::string>(m_value); }
    // Byte, integers, floats and Booleans.
    bool isNumeric() const;

    bool toBool() const;
    uint8_t toByte() const;
    int16_t toI2() const;
    int32_t toI4() const;
    float toR4() const;
    double toR8() const;
    double toDate() const;
    // The value's text (general number form, "True"/"False", date text).
    std::string toString() const;
    const VariantArray& toArray() const;

    // The value converted to the given type code (arrays element by element);
    // vtEmpty and vtVariant return the value unchanged.
    Variant convertTo(uint16_t type) const;

    bool operator==(const Variant& other) const;

    // Direct access for code that switches on the type.
    template <class T> const T* get() const { return std::get_if<T>(&m_value); }

private:
    using Storage = std::variant<std::monostate, Null, bool, uint8_t, int16_t, int32_t, float,
                                 double, Date, std::string, std::shared_ptr<const VariantArray>>;
    Storage m_value;
};

}  // namespace tagwell
