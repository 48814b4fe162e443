#include "settings_shell.h"

#include "text.h"

namespace sim {

namespace {

std::wstring SettingKey(const std::wstring& application, const std::wstring& section,
                        const std::wstring& key) {
    return UpperCase(application + L"\\" + section + L"\\" + key);
}

}  // namespace

void Settings::Store(const std::wstring& application, const std::wstring& section,
                     const std::wstring& key, const std::wstring& value) {
    values_[SettingKey(application, section, key)] = value;
}

void Settings::Forget(const std::wstring& application, const std::wstring& section,
                      const std::wstring& key) {
    values_.erase(SettingKey(application, section, key));
}

std::optional<std::wstring> Settings::Read(const std::wstring& application,
                                           const std::wstring& section,
                                           const std::wstring& key) const {
    const auto found = values_.find(SettingKey(application, section, key));
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

ItemIdList Shell::AllocateItemIdList(std::int32_t folder) {
    const ItemIdList list = 0x5000 + next_++;
    itemIdLists_[list] = folder;
    return list;
}

std::optional<std::int32_t> Shell::FolderOfList(ItemIdList list) const {
    const auto found = itemIdLists_.find(list);
    if (found == itemIdLists_.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool Shell::FreeItemIdList(ItemIdList list) {
    return itemIdLists_.erase(list) != 0;
}

Module Shell::Load() {
    const Module module = 0x70000000 + next_++;
    libraries_.insert(module);
    return module;
}

}  // namespace sim
