// The simulated binding of the seam's shell calls: shell32, ole32's task allocator, shfolder.

#include "system/system.h"
#include "text.h"
#include "world.h"

namespace sys {

using sim::TheWorld;

namespace {

constexpr HResult kEFail = static_cast<HResult>(0x80004005);
constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057);
constexpr std::int32_t kFolderNumberMask = 0x00FF;

// Looks a folder number up as the shell does: unknown numbers are invalid; a folder that does not
// exist yet is created only with the create flag.
const sim::ShellFolder* Known(std::map<std::int32_t, sim::ShellFolder>& folders,
                              std::int32_t folder, HResult& result) {
    const auto found = folders.find(folder & kFolderNumberMask);
    if (found == folders.end()) {
        result = kEInvalidArg;
        return nullptr;
    }
    if (!found->second.exists) {
        if ((folder & kCsidlFlagCreate) == 0) {
            result = kEFail;
            return nullptr;
        }
        found->second.exists = true;
    }
    result = kSOk;
    return &found->second;
}

// Writes a path into a caller's MAX_PATH buffer the way the system does: the text in ANSI, a NUL,
// and the rest of the buffer as it was.
void WritePath(std::wstring& buffer, const std::wstring& path) {
    const std::wstring text = sim::ThroughAnsi(path) + L'\0';
    if (buffer.size() < text.size()) {
        buffer.resize(text.size(), L' ');
    }
    buffer.replace(0, text.size(), text);
}

}  // namespace

HResult SHGetSpecialFolderLocation(Hwnd owner, std::int32_t folder, ItemIdList* list) {
    auto& world = TheWorld();
    HResult result = kSOk;
    const sim::ShellFolder* known = Known(world.shell.folders, folder, result);
    *list = known != nullptr ? world.shell.AllocateItemIdList(folder) : 0;
    world.Record({L"SHGetSpecialFolderLocation", {owner, folder}, result, {*list}});
    return result;
}

Bool SHGetPathFromIDListA(ItemIdList list, std::wstring& path) {
    auto& world = TheWorld();
    Bool converted = 0;
    const std::optional<std::int32_t> number = world.shell.FolderOfList(list);
    auto& folders = world.shell.folders;
    const auto found = number ? folders.find(*number & kFolderNumberMask) : folders.end();
    const sim::ShellFolder* folder = found == folders.end() ? nullptr : &found->second;
    if (list == 0 || folder == nullptr) {
        world.errors.push_back(L"SHGetPathFromIDListA without a list from the shell");
    } else if (folder->path) {
        WritePath(path, *folder->path);
        converted = 1;
    } else if (!path.empty()) {
        path[0] = L'\0';
    }
    world.Record({L"SHGetPathFromIDListA", {list}, converted});
    return converted;
}

void CoTaskMemFree(ItemIdList list) {
    auto& world = TheWorld();
    if (list != 0 && !world.shell.FreeItemIdList(list)) {
        world.errors.push_back(L"CoTaskMemFree on memory that is not allocated: " +
                               std::to_wstring(list));
    }
    world.Record({L"CoTaskMemFree", {list}});
}

HResult SHGetFolderPathA(Module shfolder, Hwnd owner, std::int32_t folder, Handle token,
                         std::uint32_t flags, std::wstring& path) {
    auto& world = TheWorld();
    HResult result = kEFail;
    if (!world.shell.IsLoaded(shfolder)) {
        world.errors.push_back(L"SHGetFolderPathA of a library that is not loaded");
    } else {
        const sim::ShellFolder* known = Known(world.shell.shfolderFolders, folder, result);
        if (known != nullptr && known->path) {
            WritePath(path, *known->path);
        } else if (known != nullptr) {
            result = kEFail;
        }
    }
    world.Record({L"SHGetFolderPathA", {shfolder, owner, folder, token, flags}, result});
    return result;
}

}  // namespace sys
