#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tagwell {

// Well-known error numbers. HRESULTs are kept as signed 32-bit numbers, the
// way automation clients see them (0x80004005 is -2147467259).
constexpr int32_t hresult(uint32_t bits) { return static_cast<int32_t>(bits); }

namespace errors {
constexpr int32_t E_FAIL_ = hresult(0x80004005u);          // unspecified failure
constexpr int32_t E_INVALIDARG_ = hresult(0x80070057u);    // bad argument
constexpr int32_t RPC_E_CALL_REJECTED_ = hresult(0x80010001u);
constexpr int32_t RPC_E_SERVERCALL_RETRYLATER_ = hresult(0x80010005u);
constexpr int32_t OPC_E_DUPLICATENAME = hresult(0xC004000Cu);
constexpr int32_t OPC_E_INVALIDHANDLE = hresult(0xC0040001u);
constexpr int32_t OPC_E_BADTYPE = hresult(0xC0040004u);
constexpr int32_t OPC_E_BADRIGHTS = hresult(0xC0040006u);
constexpr int32_t OPC_E_INVALIDITEMID = hresult(0xC0040008u);
constexpr int32_t OPC_E_INVALIDFILTER = hresult(0xC0040009u);
constexpr int32_t OPC_E_UNKNOWNITEMID = hresult(0xC0040007u);
constexpr int32_t OPC_E_UNKNOWNPATH = hresult(0xC004000Au);
constexpr int32_t OPC_E_RANGE = hresult(0xC004000Bu);
constexpr int32_t OPC_E_INVALID_PID = hresult(0xC0040203u);
constexpr int32_t CO_E_CLASSSTRING_ = hresult(0x800401F3u); // invalid class string
constexpr int32_t REGDB_E_CLASSNOTREG_ = hresult(0x80040154u);
constexpr int32_t RPC_S_SERVER_UNAVAILABLE_ = hresult(0x800706BAu);
// Numbers of the host language's run-time errors.
constexpr int32_t ActiveXCannotCreateObject = 429;
constexpr int32_t PermissionDenied = 70;
constexpr int32_t Overflow = 6;
constexpr int32_t SubscriptOutOfRange = 9;
constexpr int32_t TypeMismatch = 13;
constexpr int32_t InvalidProcedureCall = 5;
constexpr int32_t ObjectVariableNotSet = 91;
constexpr int32_t InvalidPropertyValue = 380;
constexpr int32_t InternalError = 51;
}  // namespace errors

// A failed automation call: a 32-bit error number, the component that raised
// it and a description. Thrown by the automation layer and the timer library;
// the object layer catches it, reports it once and returns its failure value.
class ComError : public std::runtime_error {
public:
    ComError(int32_t number, std::string source, std::string description);

    int32_t number() const { return m_number; }
    const std::string& source() const { return m_source; }
    const std::string& description() const { return m_description; }

private:
    int32_t m_number;
    std::string m_source;
    std::string m_description;
};

}  // namespace tagwell
