#pragma once

#include <string>

namespace sys {

// The text of a buffer that a system call filled, up to, not including, its first NUL character.
inline std::wstring UpToFirstNul(const std::wstring& buffer) {
    return buffer.substr(0, buffer.find(L'\0'));
}

}  // namespace sys
