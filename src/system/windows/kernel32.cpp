// Windows binding of the kernel32 calls of the seam.

#include <optional>
#include <vector>

#include "system/system.h"
#include "system/windows/win32.h"

namespace sys {

using win::FromNative;
using win::ToHandle;

Handle OpenProcess(std::uint32_t desiredAccess, Bool inheritHandle, ProcessId processId) {
    return FromNative(::OpenProcess(desiredAccess, inheritHandle, processId));
}

std::uint32_t WaitForSingleObject(Handle object, std::uint32_t milliseconds) {
    return ::WaitForSingleObject(ToHandle(object), milliseconds);
}

Bool CloseHandle(Handle object) {
    return ::CloseHandle(ToHandle(object));
}

Bool CreateProcessA(const std::optional<std::wstring>& applicationName,
                    const std::wstring& commandLine, Bool inheritHandles,
                    std::uint32_t creationFlags,
                    const std::optional<std::wstring>& currentDirectory,
                    const StartupInfo& startupInfo, ProcessInformation& processInformation) {
    const std::optional<std::string> application =
        applicationName ? std::optional(win::ToAnsi(*applicationName)) : std::nullopt;
    const std::optional<std::string> directory =
        currentDirectory ? std::optional(win::ToAnsi(*currentDirectory)) : std::nullopt;
    // The call may write into the command line, so it gets a copy of its own.
    const std::string ansiCommandLine = win::ToAnsi(commandLine);
    std::vector<char> writableCommandLine(ansiCommandLine.begin(), ansiCommandLine.end());
    writableCommandLine.push_back('\0');

    STARTUPINFOA info{};
    info.cb = startupInfo.cb;
    info.dwX = startupInfo.dwX;
    info.dwY = startupInfo.dwY;
    info.dwXSize = startupInfo.dwXSize;
    info.dwYSize = startupInfo.dwYSize;
    info.dwXCountChars = startupInfo.dwXCountChars;
    info.dwYCountChars = startupInfo.dwYCountChars;
    info.dwFillAttribute = startupInfo.dwFillAttribute;
    info.dwFlags = startupInfo.dwFlags;
    info.wShowWindow = startupInfo.wShowWindow;
    info.hStdInput = ToHandle(startupInfo.hStdInput);
    info.hStdOutput = ToHandle(startupInfo.hStdOutput);
    info.hStdError = ToHandle(startupInfo.hStdError);

    PROCESS_INFORMATION created{};
    const BOOL ok =
        ::CreateProcessA(application ? application->c_str() : nullptr, writableCommandLine.data(),
                         nullptr, nullptr, inheritHandles, creationFlags, nullptr,
                         directory ? directory->c_str() : nullptr, &info, &created);
    if (ok) {
        processInformation.hProcess = FromNative(created.hProcess);
        processInformation.hThread = FromNative(created.hThread);
        processInformation.dwProcessId = created.dwProcessId;
        processInformation.dwThreadId = created.dwThreadId;
    }
    return ok;
}

Bool TerminateProcess(Handle process, std::uint32_t exitCode) {
    return ::TerminateProcess(ToHandle(process), exitCode);
}

Module LoadLibraryA(const std::wstring& fileName) {
    return FromNative(::LoadLibraryA(win::ToAnsi(fileName).c_str()));
}

Bool FreeLibrary(Module library) {
    return ::FreeLibrary(win::ToModule(library));
}

void OutputDebugStringW(const std::wstring& text) {
    ::OutputDebugStringW(text.c_str());
}

}  // namespace sys
