#pragma once

// The per-user settings store, the shell's special folders with the item-id lists it hands out,
// and the folder library "shfolder" with the table of loaded libraries.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "system/types.h"

namespace sim {

using sys::ItemIdList;
using sys::Module;

class Settings {
  public:
    void Store(const std::wstring& application, const std::wstring& section,
               const std::wstring& key, const std::wstring& value);
    void Forget(const std::wstring& application, const std::wstring& section,
                const std::wstring& key);
    std::optional<std::wstring> Read(const std::wstring& application, const std::wstring& section,
                                     const std::wstring& key) const;

  private:
    std::map<std::wstring, std::wstring> values_;  // "APPLICATION\SECTION\KEY", upper case
};

// A special folder as the shell (or the folder library) knows it.
struct ShellFolder {
    std::optional<std::wstring> path;  // nothing: the folder has no file-system path
    bool exists = true;                // false: only found with the create flag, which makes it
};

class Shell {
  public:
    // ---- set-up and inspection
    std::map<std::int32_t, ShellFolder> folders;  // by folder number without flags
    bool shfolderPresent = true;
    std::map<std::int32_t, ShellFolder> shfolderFolders;  // what shfolder's call knows
    std::size_t LiveItemIdLists() const { return itemIdLists_.size(); }
    std::size_t LoadedLibraries() const { return libraries_.size(); }

    // ---- the system's side
    ItemIdList AllocateItemIdList(std::int32_t folder);
    std::optional<std::int32_t> FolderOfList(ItemIdList list) const;
    bool FreeItemIdList(ItemIdList list);
    Module Load();
    bool IsLoaded(Module module) const { return libraries_.count(module) != 0; }
    bool Unload(Module module) { return libraries_.erase(module) != 0; }

  private:
    std::map<ItemIdList, std::int32_t> itemIdLists_;  // the folder each list stands for
    std::set<Module> libraries_;
    std::uint32_t next_ = 1;
};

}  // namespace sim
