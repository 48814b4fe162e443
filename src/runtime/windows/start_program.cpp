// Windows binding of the start of a program. It never waits for the program: it closes the
// handles the system gives at once and returns the new process's id.

#include <string>
#include <vector>

#include "runtime/guards.h"
#include "runtime/rules.h"
#include "runtime/windows/shell_start.h"
#include "system/owned.h"
#include "system/system.h"
#include "system/windows/win32.h"

#include <shellapi.h>

namespace sys {

namespace {

// application: the file to start, or null to let the system split the command line.
ProcessId Launch(const wchar_t* application, const std::wstring& commandLine, WindowStyle style) {
    const auto show = runtime::ShowCommandFor(style);
    if (!show) {
        throw win::FailureOf(ERROR_INVALID_PARAMETER);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = *show;
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    PROCESS_INFORMATION created{};
    if (!CreateProcessW(application, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &created)) {
        throw win::LastErrorFailure();
    }
    const Owned<HANDLE, &::CloseHandle> process(created.hProcess);
    const Owned<HANDLE, &::CloseHandle> thread(created.hThread);
    return created.dwProcessId;
}

}  // namespace

ProcessId StartProgram(const std::wstring& program, const std::wstring& arguments,
                       WindowStyle style) {
    return runtime::GuardingMemory(
        [&] {
            // Naming the file as the application makes the system start exactly it: a path
            // without a folder is taken from the current directory and nothing is searched. The
            // quoted path in the command line is what the program sees as its own name.
            const std::wstring file = runtime::WithDefaultExtension(program);
            return runtime::StartAskingForElevation(
                [&] {
                    return Launch(file.c_str(), runtime::QuotedCommandLine(file, arguments), style);
                },
                [&] {
                    return runtime::win::ExecuteThroughShell(file, arguments,
                                                             *runtime::ShowCommandFor(style));
                });
        },
        runtime::win::OutOfMemory);
}

ProcessId StartCommandLine(const std::wstring& commandLine, WindowStyle style) {
    return runtime::GuardingMemory([&] { return Launch(nullptr, commandLine, style); },
                                   runtime::win::OutOfMemory);
}

}  // namespace sys

namespace runtime::win {

sys::ProcessId ExecuteThroughShell(const std::wstring& file, const std::wstring& arguments,
                                   int showCommand) {
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    execute.lpFile = file.c_str();
    execute.lpParameters = arguments.empty() ? nullptr : arguments.c_str();
    execute.nShow = showCommand;
    if (!ShellExecuteExW(&execute)) {
        throw sys::win::LastErrorFailure();
    }
    const sys::Owned<HANDLE, &::CloseHandle> process(execute.hProcess);
    return process ? GetProcessId(process.get()) : 0;
}

sys::Failure OutOfMemory() {
    return sys::win::FailureOf(ERROR_NOT_ENOUGH_MEMORY);
}

}  // namespace runtime::win
