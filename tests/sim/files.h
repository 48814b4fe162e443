#pragma once

// Drives, network shares, folders and files, and the current directory with the folder that each
// drive remembers while another one is current.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sim {

struct Entry {
    std::wstring name;  // as it was created, for the lookup's answer
    std::uint32_t attributes = 0;
    bool folder = false;
};

inline constexpr std::uint32_t kReadOnly = 0x01;
inline constexpr std::uint32_t kHidden = 0x02;
inline constexpr std::uint32_t kSystem = 0x04;

class Files {
  public:
    Files();

    // ---- set-up and inspection
    void AddDrive(wchar_t letter, bool readable = true);
    void AddShare(const std::wstring& root, bool readable = true);  // "\\server\share"
    void AddFolder(const std::wstring& path);
    void AddFile(const std::wstring& path, std::uint32_t attributes = 0);
    void RemoveFile(const std::wstring& path);
    void SetCurrentDirectory(const std::wstring& path);  // also makes its drive current
    // The folder a drive remembers as its current one while another drive is current (what a
    // command prompt hands on as "=X:"); it need not exist.
    void RememberFolder(wchar_t letter, const std::wstring& fullPath);
    const std::wstring& CurrentDirectory() const { return currentDirectory_; }
    bool FileExists(const std::wstring& path) const;

    // ---- the system's side
    // A path made full against the current directory (and a drive's remembered folder for
    // "X:name"), with "." and ".." resolved and repeated separators collapsed.
    std::wstring FullPath(const std::wstring& path) const;
    // Failure number when the drive or share that a full path lies on cannot be read, else 0.
    std::uint32_t RootProblem(const std::wstring& fullPath) const;
    const Entry* FindEntry(const std::wstring& fullPath) const;
    std::vector<const Entry*> EntriesIn(const std::wstring& folderFullPath) const;
    void ChangeCurrentDirectory(const std::wstring& fullPath);
    bool FolderExists(const std::wstring& fullPath) const;

  private:
    struct Drive {
        bool readable = true;
        std::wstring currentDirectory;  // full path, remembered while another drive is current
    };
    std::map<std::wstring, Drive> drives_;   // "D:" or "\\SERVER\SHARE", upper case
    std::map<std::wstring, Entry> entries_;  // full path in upper case
    std::wstring currentDirectory_;
};

}  // namespace sim
