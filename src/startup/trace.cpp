#include "startup/trace.h"

#include "system/decimal_text.h"
#include "system/system.h"

namespace startup {

void Trace::Step(int step, const std::wstring& text) const {
    sys::OutputDebugStringW(program_ + L": " + sys::DecimalText(step) + L" " + text);
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring Described(const sys::Failure& failure) {
    return L"error " + sys::DecimalText(failure.number()) + L" (" + failure.description() + L")";
}

}  // namespace startup
