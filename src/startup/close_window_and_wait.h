#pragma once

#include <string>

namespace startup {

// Asks the program that owns the top-level window with exactly this title to close, and blocks
// until that program's process has ended. Closes by request only; reports nothing.
void CloseWindowAndWait(std::wstring title);

}  // namespace startup
