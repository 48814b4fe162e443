#pragma once

// What ProcessHost.exe is asked to do by its command line:
//   ProcessHost.exe                          opens the process window
//   ProcessHost.exe --create COMMAND LINE    and starts COMMAND LINE by process creation
//   ProcessHost.exe --shell COMMAND LINE     and starts it with the shell call

#include <optional>
#include <string>

namespace host {

enum class Start { None, Create, Shell };

struct HostCommand {
    Start start = Start::None;
    std::wstring commandLine;  // the rest of the command line, exactly as given
};

// The program's whole command line as the system gives it (its own name first); nothing for a
// command line it does not understand.
std::optional<HostCommand> ParseCommandLine(const std::wstring& whole);

inline constexpr wchar_t kUsage[] =
    L"Aufruf: ProcessHost.exe [--create BEFEHLSZEILE | --shell BEFEHLSZEILE]";

}  // namespace host
