#pragma once

// The simulated system: an in-memory Windows for the native tests. It implements the seam
// (src/system/system.h) against a desktop of windows, processes and their handles, a file system
// with drives and network shares, a per-user settings store, shell folders, a loaded-library
// table, scripted message boxes and a virtual clock, and it logs every call in order.
//
// A test sets the world up through sim::World, runs the logic, and reads the log and the state.
// Misuse that a real system would punish (closing a handle twice, freeing an item-id list that is
// not allocated) is recorded in World::errors; a wait that could never end throws sim::Hang.

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "system/system.h"

namespace sim {

using sys::Handle;
using sys::HResult;
using sys::Hwnd;
using sys::ItemIdList;
using sys::Module;
using sys::ProcessId;
using sys::ThreadId;

// Raised by EndProgram and ReportUnhandledFailure: the program is over.
struct ProgramEnded {};

// Raised by a wait that the simulated system can see will never return.
struct Hang : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Raised when the logic does something the test did not prepare for (an unexpected message box).
struct Unexpected : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What the program owning a window does when WM_CLOSE is posted to it. Times are virtual
// milliseconds after the message arrived.
struct CloseReaction {
    bool closes = true;                                 // false: the close is refused
    std::uint64_t windowClosesAfter = 0;                // the window goes after this delay
    std::optional<std::uint64_t> processEndsAfter = 0;  // nothing: the process runs on

    static CloseReaction AtOnce() { return {}; }
    static CloseReaction Refused() { return {false, 0, std::nullopt}; }
    static CloseReaction Delayed(std::uint64_t ms) { return {true, ms, ms}; }
    // The window closes at once but its process goes on, ending after ms (or never).
    static CloseReaction WindowOnly(std::optional<std::uint64_t> ms) { return {true, 0, ms}; }
};

struct Window {
    Hwnd handle = 0;
    std::wstring title;
    std::wstring className = L"SimWindow";
    Hwnd parent = 0;
    ProcessId process = 0;
    ThreadId thread = 0;
    CloseReaction onClose;
    bool alive = true;
    std::vector<std::uint32_t> posted;  // messages posted to it, in order
};

struct Process {
    ProcessId id = 0;
    ThreadId mainThread = 0;
    std::wstring image;        // full path of the started file
    std::wstring commandLine;  // as the program sees it
    std::wstring currentDirectory;
    std::optional<sys::WindowStyle> style;
    bool running = true;
    std::optional<std::uint64_t> endsAt;  // virtual time at which it ends by itself
    bool openable = true;                 // false: OpenProcess is refused (another user's)
};

struct Entry {
    std::wstring name;  // as it was created, for the lookup's answer
    std::uint32_t attributes = 0;
    bool folder = false;
};

// A special folder as the shell (or the folder library) knows it.
struct ShellFolder {
    std::optional<std::wstring> path;  // nothing: the folder has no file-system path
    bool exists = true;                // false: only found with the create flag, which makes it
};

inline constexpr std::uint32_t kReadOnly = 0x01;
inline constexpr std::uint32_t kHidden = 0x02;
inline constexpr std::uint32_t kSystem = 0x04;

class World {
  public:
    World();

    // ---- the program itself
    std::wstring programPath = L"D:\\Setup\\Setup.exe";

    // ---- drives, shares, files and the current directory
    void AddDrive(wchar_t letter, bool readable = true);
    void AddShare(const std::wstring& root, bool readable = true);  // "\\server\share"
    void AddFolder(const std::wstring& path);
    void AddFile(const std::wstring& path, std::uint32_t attributes = 0);
    void RemoveFile(const std::wstring& path);
    void SetCurrentDirectory(const std::wstring& path);  // also makes its drive current
    const std::wstring& CurrentDirectory() const { return currentDirectory_; }
    bool FileExists(const std::wstring& path) const;

    // ---- settings store: application, section, key
    void StoreSetting(const std::wstring& application, const std::wstring& section,
                      const std::wstring& key, const std::wstring& value);
    void ForgetSetting(const std::wstring& application, const std::wstring& section,
                       const std::wstring& key);

    // ---- shell folders and the folder library
    std::map<std::int32_t, ShellFolder> shellFolders;  // by folder number without flags
    bool shfolderPresent = true;
    std::map<std::int32_t, ShellFolder> shfolderFolders;  // what shfolder's call knows

    // ---- desktop and processes
    ProcessId AddProcess(const std::wstring& image);
    Process& ProcessById(ProcessId id);
    const Process* FindProcess(ProcessId id) const;
    // A top-level window, placed below the existing ones in Z-order.
    Hwnd AddWindow(ProcessId process, const std::wstring& title,
                   CloseReaction onClose = CloseReaction::AtOnce());
    Window& WindowByHandle(Hwnd handle);
    Window* FindWindowByHandle(Hwnd handle);  // alive or not; null for a handle never given
    // Processes started by the program, in order.
    std::vector<ProcessId> started;

    // ---- message boxes: each box takes the next answer; a failing box raises the failure
    void AnswerMessageBox(int button) { answers_.push_back(Answer{button, std::nullopt}); }
    void FailMessageBox(const sys::Failure& failure) { answers_.push_back(Answer{0, failure}); }
    std::size_t UnansweredBoxes() const { return answers_.size(); }

    // ---- failures: every call of the named runtime facility raises this failure, or only those
    // whose logged arguments contain `arguments`
    void FailFacility(const std::wstring& name, const sys::Failure& failure,
                      const std::wstring& arguments = L"");

    // ---- observation
    std::uint64_t now = 0;             // virtual milliseconds
    std::vector<std::wstring> calls;   // "Name(arguments) -> result", in order
    std::vector<std::wstring> errors;  // misuse of the system
    std::vector<std::wstring> CallNames() const;
    std::size_t OpenHandles() const { return handles_.size(); }
    std::size_t LiveItemIdLists() const { return itemIdLists_.size(); }
    std::size_t LoadedLibraries() const { return libraries_.size(); }

    // ---- used by the bindings of the seam
    struct HandleEntry {
        ProcessId process;
        std::uint32_t access;
    };
    std::wstring FullPath(const std::wstring& path) const;
    // Failure number when the drive or share that a full path lies on cannot be read, else 0.
    std::uint32_t RootProblem(const std::wstring& fullPath) const;
    const Entry* FindEntry(const std::wstring& fullPath) const;
    std::vector<const Entry*> EntriesIn(const std::wstring& folderFullPath) const;
    std::optional<std::wstring> ReadStoredSetting(const std::wstring& application,
                                                  const std::wstring& section,
                                                  const std::wstring& key) const;
    void ChangeCurrentDirectory(const std::wstring& fullPath);
    std::optional<sys::Failure> FacilityFailure(const std::wstring& name,
                                                const std::wstring& arguments) const;
    std::optional<int> NextAnswer(std::optional<sys::Failure>& failure);
    Handle OpenHandle(ProcessId process, std::uint32_t access);
    const HandleEntry* FindHandle(Handle handle) const;
    bool CloseHandleEntry(Handle handle);
    ItemIdList AllocateItemIdList(std::int32_t folder);
    std::optional<std::int32_t> FolderOfList(ItemIdList list) const;
    bool FreeItemIdList(ItemIdList list);
    Module LoadLibrary();
    bool IsLoaded(Module module) const { return libraries_.count(module) != 0; }
    bool UnloadLibrary(Module module);
    std::vector<Hwnd> TopLevelWindows() const;  // Z-order, top first, alive only
    void Schedule(std::uint64_t at, Hwnd window, ProcessId process);
    // Lets virtual time run to the deadline or until the process has ended; gives whether it has.
    bool RunUntilEnded(ProcessId process, std::optional<std::uint64_t> deadline);
    void EndProcess(ProcessId process);
    ProcessId StartProcess(const std::wstring& image, const std::wstring& commandLine,
                           sys::WindowStyle style);
    void Log(const std::wstring& entry) { calls.push_back(entry); }

  private:
    struct Answer {
        int button;
        std::optional<sys::Failure> failure;
    };
    struct Event {
        std::uint64_t at;
        Hwnd window;        // closed at that time, when not 0
        ProcessId process;  // ended at that time, when not 0
    };
    struct Drive {
        bool readable = true;
        std::wstring currentDirectory;  // full path, remembered while another drive is current
    };

    std::map<std::wstring, Drive> drives_;   // "D:" or "\\SERVER\SHARE", upper case
    std::map<std::wstring, Entry> entries_;  // full path in upper case
    std::map<std::wstring, std::wstring> settings_;
    std::wstring currentDirectory_;
    std::map<ProcessId, Process> processes_;
    std::map<Hwnd, Window> windows_;
    std::vector<Hwnd> zOrder_;
    std::map<Handle, HandleEntry> handles_;
    std::map<ItemIdList, std::int32_t> itemIdLists_;  // the folder each list stands for
    std::set<Module> libraries_;
    std::deque<Answer> answers_;
    struct Failing {
        std::wstring name;
        std::wstring arguments;
        sys::Failure failure;
    };
    std::vector<Failing> failingFacilities_;
    std::vector<Event> events_;
    std::uint32_t nextId_ = 1000;
};

// The world the seam's simulated binding works on; fresh for every test.
World& TheWorld();
void ResetWorld();

// Text as it comes back from a trip through the simulated ANSI code page (Latin-1 here):
// characters beyond it become "?".
std::wstring ThroughAnsi(const std::wstring& text);

// Upper case for the comparisons the system makes without regard to case (ASCII and Latin-1).
std::wstring UpperCase(const std::wstring& text);

// Pieces of a log entry.
std::wstring Quoted(const std::wstring& text);
std::wstring Quoted(const std::optional<std::wstring>& text);

}  // namespace sim
