#pragma once

#include <cstdint>
#include <string>

namespace WinPaths {

// File-system path of a special folder of the shell (a CSIDL value), or "" when none is found.
// The shell is asked first by way of an item-id list; the folder library "shfolder" only when
// that first call fails. create sets the create flag 0x8000 in the folder number.
std::wstring GetSpecialFolder(std::int32_t folder, bool create);

}  // namespace WinPaths
