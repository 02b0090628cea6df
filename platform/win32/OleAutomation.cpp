// Currency and decimal conversions: the system's own OLE Automation calls.
#include "platform/OleAutomation.h"

#include <windows.h>
// oleauto.h needs the types windows.h declares.
#include <oleauto.h>

#include <cstddef>
#include <cstring>

namespace platform {
namespace {

static_assert(sizeof(Currency) == sizeof(CY), "CY layout");
static_assert(sizeof(Decimal) == sizeof(DECIMAL), "DECIMAL layout");
static_assert(offsetof(DECIMAL, scale) == offsetof(Decimal, scale), "DECIMAL scale");
static_assert(offsetof(DECIMAL, sign) == offsetof(Decimal, sign), "DECIMAL sign");
static_assert(offsetof(DECIMAL, Hi32) == offsetof(Decimal, hi32), "DECIMAL Hi32");
static_assert(offsetof(DECIMAL, Lo64) == offsetof(Decimal, lo64), "DECIMAL Lo64");
static_assert(sizeof(OLECHAR) == sizeof(char16_t), "OLECHAR is UTF-16");

DECIMAL ToSystem(const Decimal& d) {
    DECIMAL r;
    std::memcpy(&r, &d, sizeof r);
    return r;
}

Decimal FromSystem(const DECIMAL& d) {
    Decimal r;
    std::memcpy(&r, &d, sizeof r);
    return r;
}

CY ToSystem(Currency c) {
    CY r;
    r.int64 = c.int64;
    return r;
}

// Some headers declare the input text without const; the calls only read it.
OLECHAR* SystemText(const char16_t* text) {
    return const_cast<OLECHAR*>(reinterpret_cast<const OLECHAR*>(text));
}

// Takes the string and frees it.
std::u16string TakeText(BSTR text) {
    if (text == nullptr) {
        return std::u16string();
    }
    std::u16string r(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
    SysFreeString(text);
    return r;
}

}  // namespace

// Each call works on a copy of the output in the system's own type and hands
// back whatever the system left in it, written or not.

HResult CurrencyFromText(const char16_t* text, uint32_t lcid, uint32_t flags, Currency* out) {
    CY r = ToSystem(*out);
    const HRESULT hr = VarCyFromStr(SystemText(text), lcid, flags, &r);
    out->int64 = r.int64;
    return hr;
}

HResult CurrencyFromDecimal(const Decimal* in, Currency* out) {
    DECIMAL d = ToSystem(*in);
    CY r = ToSystem(*out);
    const HRESULT hr = VarCyFromDec(&d, &r);
    out->int64 = r.int64;
    return hr;
}

HResult DecimalFromText(const char16_t* text, uint32_t lcid, uint32_t flags, Decimal* out) {
    DECIMAL r = ToSystem(*out);
    const HRESULT hr = VarDecFromStr(SystemText(text), lcid, flags, &r);
    *out = FromSystem(r);
    return hr;
}

HResult DecimalFromDouble(double value, Decimal* out) {
    DECIMAL r = ToSystem(*out);
    const HRESULT hr = VarDecFromR8(value, &r);
    *out = FromSystem(r);
    return hr;
}

HResult DoubleFromDecimal(const Decimal* in, double* out) {
    DECIMAL d = ToSystem(*in);
    return VarR8FromDec(&d, out);
}

HResult TextFromCurrency(Currency value, uint32_t lcid, uint32_t flags, std::u16string* out) {
    BSTR text = nullptr;
    const HRESULT hr = VarBstrFromCy(ToSystem(value), lcid, flags, &text);
    if (SUCCEEDED(hr)) {
        *out = TakeText(text);
    }
    return hr;
}

HResult TextFromDecimal(const Decimal* in, uint32_t lcid, uint32_t flags, std::u16string* out) {
    DECIMAL d = ToSystem(*in);
    BSTR text = nullptr;
    const HRESULT hr = VarBstrFromDec(&d, lcid, flags, &text);
    if (SUCCEEDED(hr)) {
        *out = TakeText(text);
    }
    return hr;
}

HResult DecimalIntegerPart(const Decimal* in, Decimal* out) {
    DECIMAL d = ToSystem(*in);
    DECIMAL r = ToSystem(*out);
    const HRESULT hr = VarDecInt(&d, &r);
    *out = FromSystem(r);
    return hr;
}

}  // namespace platform
