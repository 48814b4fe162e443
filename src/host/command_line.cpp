#include "host/command_line.h"

namespace host {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// Where the program's own name ends: at a blank outside quotes, as the system reads it.
std::size_t AfterProgramName(const std::wstring& whole) {
    std::size_t at = 0;
    bool quoted = false;
    while (at < whole.size() && (quoted || !IsBlank(whole[at]))) {
        quoted = whole[at] == L'"' ? !quoted : quoted;
        ++at;
    }
    return at;
}

}  // namespace

std::optional<HostCommand> ParseCommandLine(const std::wstring& whole) {
    std::size_t at = AfterProgramName(whole);
    while (at < whole.size() && IsBlank(whole[at])) {
        ++at;
    }
    if (at == whole.size()) {
        return HostCommand{};
    }
    std::size_t end = at;
    while (end < whole.size() && !IsBlank(whole[end])) {
        ++end;
    }
    const std::wstring option = whole.substr(at, end - at);
    const Start start = option == L"--create"  ? Start::Create
                        : option == L"--shell" ? Start::Shell
                                               : Start::None;
    if (start == Start::None) {
        return std::nullopt;
    }
    while (end < whole.size() && IsBlank(whole[end])) {
        ++end;
    }
    return HostCommand{start, whole.substr(end)};
}

}  // namespace host
