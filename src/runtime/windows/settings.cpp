// Windows binding of the settings read.
//
// The store is the per-user registry place of the classic desktop runtime's settings functions,
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, value <key>,
// where the separate data-path setup tool writes the data path.
//
// What a stored value gives:
// - REG_SZ: its text, however long (read whole, up to the registry's own limit), empty included,
//   with every character the user's registry holds; the text ends at its first NUL.
// - REG_EXPAND_SZ: its text with the environment variables expanded, as the type asks.
// - any other type (REG_DWORD, REG_BINARY, REG_MULTI_SZ, ...): no text is stored, so the default.
// - no key or no value: the default.
// Any other error of the registry (access denied, say) is a failure, not a default.

#include <string>

#include "runtime/guards.h"
#include "runtime/windows/shell_start.h"
#include "system/system.h"
#include "system/windows/win32.h"

namespace sys {

namespace {

// A value that grows between the size query and the read is read again, a few times at most.
constexpr int kReadAttempts = 4;

// The registry's answer when the place holds no text: no key, no value, or a value of a type
// other than REG_SZ and REG_EXPAND_SZ.
bool HoldsNoText(LSTATUS status) {
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_UNSUPPORTED_TYPE;
}

}  // namespace

static std::wstring ReadSettingWork(const std::wstring& application, const std::wstring& section,
                                    const std::wstring& key, const std::wstring& defaultValue) {
    const std::wstring subkey =
        L"Software\\VB and VBA Program Settings\\" + application + L"\\" + section;
    // RRF_RT_REG_SZ also takes REG_EXPAND_SZ values, expanded; other types are refused.
    const auto query = [&](void* data, DWORD* bytes) {
        return RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), key.c_str(), RRF_RT_REG_SZ, nullptr,
                            data, bytes);
    };

    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD bytes = 0;
        LSTATUS status = query(nullptr, &bytes);
        if (status == ERROR_SUCCESS) {
            std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
            bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            status = query(text.data(), &bytes);
            if (status == ERROR_SUCCESS) {
                return text.substr(0, text.find(L'\0'));
            }
        }
        if (status == ERROR_MORE_DATA) {
            continue;  // the value grew after its size was asked for
        }
        if (HoldsNoText(status)) {
            return defaultValue;
        }
        throw win::FailureOf(static_cast<DWORD>(status));
    }
    throw win::FailureOf(ERROR_MORE_DATA);
}

std::wstring ReadSetting(const std::wstring& application, const std::wstring& section,
                         const std::wstring& key, const std::wstring& defaultValue) {
    return runtime::GuardingMemory(
        [&] { return ReadSettingWork(application, section, key, defaultValue); },
        runtime::win::OutOfMemory);
}

}  // namespace sys
