#pragma once

#include <cstdint>

#include "system/types.h"

// Values of the Windows API that the logic passes or tests, written out so that the logic needs
// no Windows header.
namespace sys {

inline constexpr std::uint32_t kMaxPath = 260;  // MAX_PATH

// Messages
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmQuit = 0x0012;

// Process access and waiting
inline constexpr std::uint32_t kSynchronize = 0x00100000;
inline constexpr std::uint32_t kProcessTerminate = 0x0001;
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
inline constexpr std::uint32_t kWaitObject0 = 0;
inline constexpr std::uint32_t kWaitTimeout = 258;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;
inline constexpr std::uint32_t kNormalPriorityClass = 0x00000020;

// Shell folders
inline constexpr HResult kSOk = 0;
inline constexpr std::int32_t kCsidlProgramFiles = 38;
inline constexpr std::int32_t kCsidlFlagCreate = 0x8000;

// Window walks, placement and window data
inline constexpr std::uint32_t kGwHwndFirst = 0;
inline constexpr std::uint32_t kGwHwndNext = 2;
inline constexpr std::int32_t kGwlUserData = -21;
inline constexpr std::int32_t kGwlHwndParent = -8;
inline constexpr Hwnd kHwndTopMost = static_cast<Hwnd>(-1);
inline constexpr Hwnd kHwndNoTopMost = static_cast<Hwnd>(-2);
inline constexpr std::uint32_t kSwpNoSize = 0x0001;
inline constexpr std::uint32_t kSwpNoMove = 0x0002;
inline constexpr std::uint32_t kSwpNoActivate = 0x0010;

// Message boxes
inline constexpr std::uint32_t kMbOk = 0x00000000;
inline constexpr std::uint32_t kMbYesNo = 0x00000004;
inline constexpr std::uint32_t kMbIconQuestion = 0x00000020;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Win32 error numbers that the runtime facilities report
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorInvalidDrive = 15;
inline constexpr std::uint32_t kErrorNoMoreFiles = 18;
inline constexpr std::uint32_t kErrorNotReady = 21;
inline constexpr std::uint32_t kErrorBadNetPath = 53;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;

}  // namespace sys
