// Windows binding of the shell calls of the seam: shell32, the task allocator of ole32, and the
// export of a loaded "shfolder".

#include <objbase.h>
#include <shlobj.h>

#include "system/system.h"
#include "system/windows/win32.h"

namespace sys {

using win::FromNative;
using win::ToHwnd;

namespace {

// Runs a call that fills a MAX_PATH buffer with ANSI text and hands the whole buffer back.
template <typename Call>
auto FillPathBuffer(std::wstring& path, Call call) {
    std::string buffer = win::AnsiBuffer(path, MAX_PATH);
    const auto result = call(buffer.data());
    path = win::FromAnsi(buffer);
    return result;
}

}  // namespace

HResult SHGetSpecialFolderLocation(Hwnd owner, std::int32_t folder, ItemIdList* list) {
    LPITEMIDLIST shellList = nullptr;
    const HRESULT result = ::SHGetSpecialFolderLocation(ToHwnd(owner), folder, &shellList);
    *list = FromNative(shellList);
    return result;
}

Bool SHGetPathFromIDListA(ItemIdList list, std::wstring& path) {
    return FillPathBuffer(path, [list](char* buffer) {
        return ::SHGetPathFromIDListA(win::ToNative<LPCITEMIDLIST>(list), buffer);
    });
}

void CoTaskMemFree(ItemIdList list) {
    ::CoTaskMemFree(win::ToNative<void*>(list));
}

HResult SHGetFolderPathA(Module shfolder, Hwnd owner, std::int32_t folder, Handle token,
                         std::uint32_t flags, std::wstring& path) {
    using Function = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    const auto function =
        win::ExportAs<Function>(GetProcAddress(win::ToModule(shfolder), "SHGetFolderPathA"));
    if (function == nullptr) {
        return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    }
    return FillPathBuffer(path, [&](char* buffer) {
        return function(ToHwnd(owner), folder, win::ToHandle(token), flags, buffer);
    });
}

}  // namespace sys
