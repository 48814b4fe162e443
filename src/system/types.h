#pragma once

#include <cstdint>

// The types the program uses at its boundary to the system. Handles and ids are 32-bit values
// as a 32-bit Windows program sees them; 0 means "none" throughout.
namespace sys {

using Hwnd = std::uint32_t;        // window handle
using Handle = std::uint32_t;      // kernel object handle (process, thread)
using Module = std::uint32_t;      // loaded library
using ItemIdList = std::uint32_t;  // shell item-id list, freed with CoTaskMemFree
using ProcessId = std::uint32_t;
using ThreadId = std::uint32_t;
using Bool = std::int32_t;     // Win32 BOOL: 0 false, anything else true
using HResult = std::int32_t;  // COM result: 0 is S_OK

// STARTUPINFOA in its 32-bit layout; pointers are 32-bit values here. Only cb is ever set by the
// program; every other field stays zero.
struct StartupInfo {
    std::uint32_t cb = 0;
    std::uint32_t lpReserved = 0;
    std::uint32_t lpDesktop = 0;
    std::uint32_t lpTitle = 0;
    std::uint32_t dwX = 0;
    std::uint32_t dwY = 0;
    std::uint32_t dwXSize = 0;
    std::uint32_t dwYSize = 0;
    std::uint32_t dwXCountChars = 0;
    std::uint32_t dwYCountChars = 0;
    std::uint32_t dwFillAttribute = 0;
    std::uint32_t dwFlags = 0;
    std::uint16_t wShowWindow = 0;
    std::uint16_t cbReserved2 = 0;
    std::uint32_t lpReserved2 = 0;
    Handle hStdInput = 0;
    Handle hStdOutput = 0;
    Handle hStdError = 0;
};
static_assert(sizeof(StartupInfo) == 68, "STARTUPINFOA is 68 bytes in its 32-bit layout");

// PROCESS_INFORMATION in its 32-bit layout.
struct ProcessInformation {
    Handle hProcess = 0;
    Handle hThread = 0;
    ProcessId dwProcessId = 0;
    ThreadId dwThreadId = 0;
};
static_assert(sizeof(ProcessInformation) == 16);

// Window styles of the start-program facility (the classic runtime's numbering).
enum class WindowStyle : std::int32_t {
    Hidden = 0,            // hidden, focus passed to it
    NormalFocus = 1,       // normal, with focus
    MinimizedFocus = 2,    // minimized, with focus
    MaximizedFocus = 3,    // maximized, with focus
    NormalNoFocus = 4,     // normal, without focus
    MinimizedNoFocus = 6,  // minimized, without focus
};

}  // namespace sys
