#pragma once

// The seam to the system. Every system call and every runtime facility that the program uses is
// declared here, once. Two bindings implement it and are chosen at link time: the Windows binding
// (src/system/windows, src/runtime/windows) for the real executables, and the simulated
// system (tests/sim) for the native tests.
//
// Text is wide inside the program. For every call whose name ends in A, the Windows binding
// converts text to the ANSI code page on the way in and back on the way out; the runtime
// facilities use the wide calls of the system.

#include <cstdint>
#include <optional>
#include <string>

#include "system/constants.h"
#include "system/failure.h"
#include "system/types.h"

namespace sys {

// ---- user32 -----------------------------------------------------------------------------------

// A null class or title matches any window.
Hwnd FindWindowA(const std::optional<std::wstring>& className,
                 const std::optional<std::wstring>& windowName);
Hwnd GetActiveWindow();
// Undocumented. Where user32 lacks it, the binding walks the top-level windows in Z-order
// (GW_HWNDNEXT), wrapping to the first, which leads back to the start window.
Hwnd GetNextQueueWindow(Hwnd window, std::int32_t mode);
Hwnd GetWindow(Hwnd window, std::uint32_t command);
Hwnd GetParent(Hwnd window);
// Writes the owning process's id when the window is valid; returns the creating thread's id, or 0.
ThreadId GetWindowThreadProcessId(Hwnd window, ProcessId* processId);
// buffer: on the way in its length is at least capacity; on the way out it holds what the
// system left in the whole buffer, the title up to its terminating NUL and whatever follows.
std::int32_t GetWindowTextA(Hwnd window, std::wstring& buffer, std::int32_t capacity);
Bool PostMessageA(Hwnd window, std::uint32_t message, std::uint32_t wParam, std::int32_t lParam);
std::int32_t SendMessageA(Hwnd window, std::uint32_t message, std::uint32_t wParam,
                          std::int32_t lParam);
Bool SetWindowPos(Hwnd window, Hwnd insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                  std::int32_t cy, std::uint32_t flags);
Hwnd SetParent(Hwnd child, Hwnd newParent);
std::int32_t GetWindowLongA(Hwnd window, std::int32_t index);
std::int32_t SetWindowLongA(Hwnd window, std::int32_t index, std::int32_t value);
Hwnd SetActiveWindow(Hwnd window);

// ---- kernel32 ---------------------------------------------------------------------------------

Handle OpenProcess(std::uint32_t desiredAccess, Bool inheritHandle, ProcessId processId);
std::uint32_t WaitForSingleObject(Handle object, std::uint32_t milliseconds);
Bool CloseHandle(Handle object);
// Security attributes and the environment are always null, so they are not parameters here.
Bool CreateProcessA(const std::optional<std::wstring>& applicationName,
                    const std::wstring& commandLine, Bool inheritHandles,
                    std::uint32_t creationFlags,
                    const std::optional<std::wstring>& currentDirectory,
                    const StartupInfo& startupInfo, ProcessInformation& processInformation);
Bool TerminateProcess(Handle process, std::uint32_t exitCode);
Module LoadLibraryA(const std::wstring& fileName);
Bool FreeLibrary(Module library);
// One line for a debugger (or a viewer of the debugger output) to show.
void OutputDebugStringW(const std::wstring& text);

// ---- shell32, ole32 and the folder library "shfolder" -----------------------------------------

HResult SHGetSpecialFolderLocation(Hwnd owner, std::int32_t folder, ItemIdList* list);
// path: a buffer of kMaxPath characters on the way in; on the way out, what the system left in
// the whole buffer (the path, its NUL, then the rest of the buffer as it was).
Bool SHGetPathFromIDListA(ItemIdList list, std::wstring& path);
void CoTaskMemFree(ItemIdList list);
// SHGetFolderPathA of a loaded "shfolder"; path as for SHGetPathFromIDListA. A library without
// that export gives a failure result.
HResult SHGetFolderPathA(Module shfolder, Hwnd owner, std::int32_t folder, Handle token,
                         std::uint32_t flags, std::wstring& path);

// ---- runtime facilities -----------------------------------------------------------------------
// A facility that cannot do its work raises sys::Failure with the Win32 error number and the
// system's description of it.

// The program's title, shown by message boxes that have no title of their own.
inline constexpr wchar_t kProgramTitle[] = L"ZARVIK Setup";

// Folder of the program's executable, without a trailing "\" except at a drive's root (D:\).
std::wstring ProgramFolder();
// File name of the program's executable without its extension.
std::wstring ProgramFileName();
// Makes the drive named by the text's first letter current; fails when there is no such drive.
void ChangeDrive(const std::wstring& drive);
// "\..." lies on the current drive, any other path is relative to the current directory.
void ChangeDirectory(const std::wstring& path);
// Per-user settings store; the stored text, or defaultValue when the key or value is missing.
std::wstring ReadSetting(const std::wstring& application, const std::wstring& section,
                         const std::wstring& key, const std::wstring& defaultValue);
// Name of the first file that the path names, or "" when there is none. Read-only files count;
// hidden files, system files and folders do not. Fails when the drive or network folder cannot
// be read.
std::wstring LookUpFile(const std::wstring& path);
// Starts exactly the program at path (".exe" added when its name has no extension; a path without
// a folder means the current directory), with the arguments passed on as given. Returns the new
// process's id at once.
ProcessId StartProgram(const std::wstring& program, const std::wstring& arguments,
                       WindowStyle style);
// Starts a whole command line, split into program and arguments the way the system splits it.
ProcessId StartCommandLine(const std::wstring& commandLine, WindowStyle style);
// Modal message box; returns the button pressed (kIdYes for Yes). No title: the program's title.
int ShowMessageBox(const std::wstring& text, std::uint32_t buttonsAndIcon,
                   const std::optional<std::wstring>& title = std::nullopt);
// Handles all pending window messages of the thread, then returns.
void HandlePendingMessages();
// Ends the program at once; programs it started run on.
[[noreturn]] void EndProgram();
// Shows a failure that no handler caught, with its number and description, then ends the program.
[[noreturn]] void ReportUnhandledFailure(const Failure& failure);

}  // namespace sys
