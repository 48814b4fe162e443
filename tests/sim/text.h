#pragma once

#include <optional>
#include <string>

namespace sim {

// Text as it comes back from a trip through the simulated ANSI code page (Latin-1 here):
// characters beyond it become "?".
std::wstring ThroughAnsi(const std::wstring& text);

// Upper case for the comparisons the system makes without regard to case (ASCII and Latin-1).
std::wstring UpperCase(const std::wstring& text);

}  // namespace sim
