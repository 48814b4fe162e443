#include "files.h"

#include <algorithm>

#include "system/constants.h"
#include "text.h"

namespace sim {

namespace {

bool IsLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// Splits a full path into its root ("D:" or "\\SERVER\SHARE") and its components.
std::pair<std::wstring, std::vector<std::wstring>> Split(const std::wstring& fullPath) {
    std::wstring root;
    std::size_t position = 0;
    if (fullPath.rfind(L"\\\\", 0) == 0) {
        const std::size_t server = fullPath.find(L'\\', 2);
        const std::size_t share =
            server == std::wstring::npos ? std::wstring::npos : fullPath.find(L'\\', server + 1);
        root = fullPath.substr(0, share);
        position = share == std::wstring::npos ? fullPath.size() : share;
    } else {
        root = fullPath.substr(0, 2);
        position = 2;
    }
    std::vector<std::wstring> parts;
    while (position < fullPath.size()) {
        const std::size_t next = fullPath.find(L'\\', position + 1);
        const std::wstring part = fullPath.substr(
            position + 1, next == std::wstring::npos ? std::wstring::npos : next - position - 1);
        if (!part.empty()) {
            parts.push_back(part);
        }
        position = next == std::wstring::npos ? fullPath.size() : next;
    }
    return {root, parts};
}

std::wstring Join(const std::wstring& root, const std::vector<std::wstring>& parts) {
    std::wstring path = root;
    for (const auto& part : parts) {
        path += L'\\';
        path += part;
    }
    if (parts.empty()) {
        path += L'\\';
    }
    return path;
}

// Collapses repeated separators and resolves "." and "..", as the system's path handling does.
std::wstring Normalize(const std::wstring& fullPath) {
    std::wstring path = fullPath;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    auto [root, parts] = Split(path);
    std::vector<std::wstring> kept;
    for (const auto& part : parts) {
        if (part == L".") {
            continue;
        }
        if (part == L"..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
            continue;
        }
        kept.push_back(part);
    }
    return Join(root, kept);
}

std::wstring RootOf(const std::wstring& fullPath) {
    return UpperCase(Split(fullPath).first);
}

std::wstring ParentOf(const std::wstring& fullPath) {
    auto [root, parts] = Split(fullPath);
    if (!parts.empty()) {
        parts.pop_back();
    }
    return Join(root, parts);
}

}  // namespace

Files::Files() {
    AddDrive(L'C');
    currentDirectory_ = L"C:\\";
}

void Files::AddDrive(wchar_t letter, bool readable) {
    const std::wstring root = UpperCase(std::wstring{letter, L':'});
    drives_[root] = Drive{readable, root + L"\\"};
}

void Files::AddShare(const std::wstring& root, bool readable) {
    drives_[UpperCase(root)] = Drive{readable, root + L"\\"};
}

void Files::AddFolder(const std::wstring& path) {
    const std::wstring full = FullPath(path);
    auto [root, parts] = Split(full);
    std::vector<std::wstring> prefix;
    for (const auto& part : parts) {
        prefix.push_back(part);
        const std::wstring key = UpperCase(Join(root, prefix));
        if (entries_.count(key) == 0) {
            entries_[key] = Entry{part, 0x10, true};
        }
    }
}

void Files::AddFile(const std::wstring& path, std::uint32_t attributes) {
    const std::wstring full = FullPath(path);
    AddFolder(ParentOf(full));
    auto [root, parts] = Split(full);
    entries_[UpperCase(full)] = Entry{parts.empty() ? L"" : parts.back(), attributes, false};
}

void Files::RemoveFile(const std::wstring& path) {
    entries_.erase(UpperCase(FullPath(path)));
}

void Files::SetCurrentDirectory(const std::wstring& path) {
    const std::wstring full = FullPath(path);
    AddFolder(full);
    ChangeCurrentDirectory(full);
}

void Files::RememberFolder(wchar_t letter, const std::wstring& fullPath) {
    drives_.at(UpperCase(std::wstring{letter, L':'})).currentDirectory = fullPath;
}

bool Files::FolderExists(const std::wstring& fullPath) const {
    const Entry* entry = FindEntry(fullPath);
    return (entry != nullptr && entry->folder) || (!fullPath.empty() && fullPath.back() == L'\\');
}

bool Files::FileExists(const std::wstring& path) const {
    const Entry* entry = FindEntry(FullPath(path));
    return entry != nullptr && !entry->folder;
}

std::wstring Files::FullPath(const std::wstring& path) const {
    const std::wstring currentRoot = Split(currentDirectory_).first;
    if (path.rfind(L"\\\\", 0) == 0) {
        return Normalize(path);
    }
    if (path.size() >= 2 && path[1] == L':' && IsLetter(path[0])) {
        const std::wstring root = UpperCase(path.substr(0, 2));
        if (path.size() >= 3 && (path[2] == L'\\' || path[2] == L'/')) {
            return Normalize(path);
        }
        // "X:name": relative to the directory that drive X has as its current one.
        std::wstring base = root + L"\\";
        if (UpperCase(currentRoot) == root) {
            base = currentDirectory_;
        } else if (const auto drive = drives_.find(root); drive != drives_.end()) {
            base = drive->second.currentDirectory;
        }
        return Normalize(base + L"\\" + path.substr(2));
    }
    if (!path.empty() && (path[0] == L'\\' || path[0] == L'/')) {
        return Normalize(currentRoot + path);
    }
    return Normalize(currentDirectory_ + L"\\" + path);
}

std::uint32_t Files::RootProblem(const std::wstring& fullPath) const {
    const std::wstring root = RootOf(fullPath);
    const auto drive = drives_.find(root);
    const bool share = root.rfind(L"\\\\", 0) == 0;
    if (drive == drives_.end()) {
        return share ? sys::kErrorBadNetPath : sys::kErrorInvalidDrive;
    }
    if (!drive->second.readable) {
        return share ? sys::kErrorBadNetPath : sys::kErrorNotReady;
    }
    return 0;
}

const Entry* Files::FindEntry(const std::wstring& fullPath) const {
    const auto found = entries_.find(UpperCase(fullPath));
    return found == entries_.end() ? nullptr : &found->second;
}

std::vector<const Entry*> Files::EntriesIn(const std::wstring& folderFullPath) const {
    std::vector<const Entry*> result;
    const std::wstring folder = UpperCase(Normalize(folderFullPath));
    for (const auto& [key, entry] : entries_) {
        if (UpperCase(ParentOf(key)) == folder && key != folder) {
            result.push_back(&entry);
        }
    }
    return result;
}

void Files::ChangeCurrentDirectory(const std::wstring& fullPath) {
    const std::wstring oldRoot = RootOf(currentDirectory_);
    if (const auto drive = drives_.find(oldRoot); drive != drives_.end()) {
        drive->second.currentDirectory = currentDirectory_;
    }
    currentDirectory_ = fullPath;
}

}  // namespace sim
