#pragma once

// The rules of the runtime facilities that need no system: how the program folder and name are
// derived from the executable's path, how a program path becomes a command line, how window
// styles map onto show commands, which directory entries count as files. The Windows binding and
// the simulated system both follow them.

#include <cstdint>
#include <optional>
#include <string>

#include "system/types.h"

namespace runtime {

// "D:\Setup\Setup.exe" -> "D:\Setup"; "D:\Setup.exe" -> "D:\" (a drive's root keeps its "\");
// "\\server\share\Setup.exe" -> "\\server\share".
std::wstring FolderOfPath(const std::wstring& filePath);

// The executable's path in its plain Win32 form: "\\?\UNC\server\share\x" and Wine's
// "UNC\server\share\x" become "\\server\share\x", "\\?\D:\x" becomes "D:\x".
std::wstring PlainExecutablePath(const std::wstring& modulePath);

// "D:\Setup\Setup.exe" -> "Setup"; only the last extension goes ("a.b.exe" -> "a.b").
std::wstring FileNameWithoutExtension(const std::wstring& filePath);

// A program whose file name has no extension gets ".exe".
std::wstring WithDefaultExtension(const std::wstring& program);

// The program path in double quotes, then, when there are arguments, one blank and the arguments
// exactly as given. Quoting the path is what makes the system start that file and no other: an
// unquoted "C:\Program Files\X\Y.exe" is tried as "C:\Program.exe" first.
std::wstring QuotedCommandLine(const std::wstring& program, const std::wstring& arguments);

// Show command (SW_*) for a window style, or nothing for a style the facility does not know.
// 6, minimized without focus, is SW_SHOWMINNOACTIVE (7): SW_MINIMIZE (6) would activate another
// window.
std::optional<std::uint16_t> ShowCommandFor(sys::WindowStyle style);

// Attribute rule of the file lookup: read-only files count; folders, hidden and system files do
// not.
bool CountsAsFile(std::uint32_t attributes);

// Win32 errors of a directory search that mean "no such file" rather than "cannot look".
bool MeansNoSuchFile(std::uint32_t error);

}  // namespace runtime
