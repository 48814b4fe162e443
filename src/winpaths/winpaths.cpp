#include "winpaths/winpaths.h"

#include "system/buffer_text.h"
#include "system/owned.h"
#include "system/system.h"

namespace WinPaths {

std::wstring GetSpecialFolder(std::int32_t folder, bool create) {
    if (create) {
        folder |= sys::kCsidlFlagCreate;
    }
    std::wstring result;
    // Either call writes a NUL-terminated path into this MAX_PATH buffer, and only one of them
    // runs; the blanks after the NUL are never part of the result.
    std::wstring path(sys::kMaxPath, L' ');

    sys::ItemIdList list = 0;
    const sys::HResult located = sys::SHGetSpecialFolderLocation(0, folder, &list);
    const sys::OwnedItemIdList ownedList(list);  // whatever the shell handed out is ours to free
    if (located == sys::kSOk) {
        // A folder the shell knows but that has no file-system path (such as "My Computer")
        // gives no path, and the folder library would know no better: it is not asked.
        if (sys::SHGetPathFromIDListA(list, path) != 0) {
            result = sys::UpToFirstNul(path);
        }
        return result;
    }

    const sys::OwnedLibrary shfolder(sys::LoadLibraryA(L"shfolder"));
    if (!shfolder) {
        return result;
    }
    if (sys::SHGetFolderPathA(shfolder.get(), 0, folder, 0, 0, path) == sys::kSOk) {
        result = sys::UpToFirstNul(path);
    }
    return result;
}

}  // namespace WinPaths
