#pragma once

// Shared by the files of the Windows binding: the Windows headers, and the conversions between the
// seam's 32-bit values and the system's handle types.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <string>

#include "system/types.h"

static_assert(sizeof(void*) == 4, "the program is a 32-bit Windows program");

namespace sys::win {

template <typename Native>
inline Native ToNative(std::uint32_t value) {
    return reinterpret_cast<Native>(static_cast<std::uintptr_t>(value));
}

template <typename Native>
inline std::uint32_t FromNative(Native value) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(value));
}

inline HWND ToHwnd(Hwnd window) {
    return ToNative<HWND>(window);
}
inline HANDLE ToHandle(Handle handle) {
    return ToNative<HANDLE>(handle);
}
inline HMODULE ToModule(Module module) {
    return ToNative<HMODULE>(module);
}

// A library export as the function type it has. The detour through void (*)() is the one cast
// between function types that the compiler accepts without a warning.
template <typename Function>
inline Function ExportAs(FARPROC address) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

// The system's handles that the binding obtains for itself are held by sys::Owned
// (system/owned.h), like the seam's; a call that answers INVALID_HANDLE_VALUE for "none" has it
// turned into null first.
inline HANDLE NoneIfInvalid(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

// Text in the system's ANSI code page, for the calls whose name ends in A. Characters the code
// page lacks become its default character.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const char* text, std::size_t length);
inline std::wstring FromAnsi(const std::string& text) {
    return FromAnsi(text.data(), text.size());
}

// A buffer for a call that fills ANSI text: the caller's wide buffer in ANSI, at least capacity
// bytes long.
std::string AnsiBuffer(const std::wstring& wideBuffer, std::size_t capacity);

// The system's description of a Win32 error number, without its line break.
std::wstring ErrorDescription(DWORD error);

}  // namespace sys::win

#include "system/failure.h"

namespace sys::win {

// The failure of a runtime facility whose last system call failed with this error.
inline Failure FailureOf(DWORD error) {
    return Failure(error, ErrorDescription(error));
}
inline Failure LastErrorFailure() {
    return FailureOf(GetLastError());
}

}  // namespace sys::win
