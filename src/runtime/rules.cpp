#include "runtime/rules.h"

#include "system/constants.h"

namespace runtime {

namespace {

constexpr std::uint32_t kAttributeHidden = 0x02;
constexpr std::uint32_t kAttributeSystem = 0x04;
constexpr std::uint32_t kAttributeDirectory = 0x10;

// Index of the first character of the last path component.
std::size_t FileNameStart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? 0 : separator + 1;
}

}  // namespace

std::wstring FolderOfPath(const std::wstring& filePath) {
    const std::size_t separator = filePath.find_last_of(L'\\');
    if (separator == std::wstring::npos) {
        return L"";
    }
    std::wstring folder = filePath.substr(0, separator);
    if (folder.size() == 2 && folder[1] == L':') {
        folder += L'\\';
    }
    return folder;
}

std::wstring PlainExecutablePath(const std::wstring& modulePath) {
    // Wine names a program started from a network folder by the tail of its NT path, without
    // the "\\?\" in front; no Win32 path of a module is relative, so "UNC\" can mean only that.
    for (const wchar_t* prefix : {L"\\\\?\\UNC\\", L"UNC\\"}) {
        const std::wstring unc = prefix;
        if (modulePath.rfind(unc, 0) == 0) {
            return L"\\\\" + modulePath.substr(unc.size());
        }
    }
    if (modulePath.rfind(L"\\\\?\\", 0) == 0) {
        return modulePath.substr(4);
    }
    return modulePath;
}

std::wstring FileNameWithoutExtension(const std::wstring& filePath) {
    std::wstring name = filePath.substr(FileNameStart(filePath));
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) {
        name.erase(dot);
    }
    return name;
}

std::wstring WithDefaultExtension(const std::wstring& program) {
    if (program.find(L'.', FileNameStart(program)) != std::wstring::npos) {
        return program;
    }
    return program + L".exe";
}

std::wstring QuotedCommandLine(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L' ';
        commandLine += arguments;
    }
    return commandLine;
}

std::optional<std::uint16_t> ShowCommandFor(sys::WindowStyle style) {
    switch (style) {
        case sys::WindowStyle::Hidden:
            return 0;  // SW_HIDE
        case sys::WindowStyle::NormalFocus:
            return 1;  // SW_SHOWNORMAL
        case sys::WindowStyle::MinimizedFocus:
            return 2;  // SW_SHOWMINIMIZED
        case sys::WindowStyle::MaximizedFocus:
            return 3;  // SW_SHOWMAXIMIZED
        case sys::WindowStyle::NormalNoFocus:
            return 4;  // SW_SHOWNOACTIVATE
        case sys::WindowStyle::MinimizedNoFocus:
            return 7;  // SW_SHOWMINNOACTIVE
    }
    return std::nullopt;
}

bool CountsAsFile(std::uint32_t attributes) {
    // Read-only (0x01), archive and the other attributes do not matter.
    return (attributes & (kAttributeDirectory | kAttributeHidden | kAttributeSystem)) == 0;
}

bool MeansNoSuchFile(std::uint32_t error) {
    return error == sys::kErrorFileNotFound || error == sys::kErrorPathNotFound ||
           error == sys::kErrorNoMoreFiles;
}

}  // namespace runtime
