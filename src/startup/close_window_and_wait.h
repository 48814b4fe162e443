#pragma once

#include <string>

namespace startup {

class Trace;

// Asks the program that owns the top-level window with exactly this title to close, and blocks
// until that program's process has ended. Closes by request only; reports nothing to its caller,
// and to the support trace, when one is given, what it found and did.
void CloseWindowAndWait(std::wstring title, const Trace* trace = nullptr);

}  // namespace startup
