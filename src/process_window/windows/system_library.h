#pragma once

// A DLL of the system, loaded from the system folder when the window opens and freed with it.
// Setup.exe holds the window without opening it; loading these here instead of importing them
// keeps its start as short as before, and the full path keeps a planted DLL beside the program
// from being taken.

#include <string>

#include "system/owned.h"
#include "system/windows/win32.h"

namespace frm::win {

class SystemLibrary {
  public:
    explicit SystemLibrary(const wchar_t* name) {
        wchar_t folder[MAX_PATH];
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length != 0 && length < MAX_PATH) {
            const std::wstring path = std::wstring(folder, length) + L"\\" + name;
            library_ = sys::Owned<HMODULE, &::FreeLibrary>(LoadLibraryW(path.c_str()));
        }
    }
    // The export as its function type, or null when the library or the export is missing.
    template <typename Function>
    Function Get(const char* name) const {
        return library_ ? sys::win::ExportAs<Function>(GetProcAddress(library_.get(), name))
                        : nullptr;
    }

  private:
    sys::Owned<HMODULE, &::FreeLibrary> library_;
};

}  // namespace frm::win
