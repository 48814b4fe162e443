#pragma once

// The start of a program through the shell's execute call, for programs that need elevation.
// Declared apart so that seamprobe can run it on its own.

#include <string>

#include "system/failure.h"
#include "system/types.h"

namespace runtime::win {

// Starts the file with the arguments (none when empty) and the show command (SW_*) through the
// shell, which asks for consent where the program needs it; the new process's id (0 when the
// shell gives no process). Raises sys::Failure when it cannot be started.
sys::ProcessId ExecuteThroughShell(const std::wstring& file, const std::wstring& arguments,
                                   int showCommand);

// The failure of a facility that ran out of memory.
sys::Failure OutOfMemory();

}  // namespace runtime::win
