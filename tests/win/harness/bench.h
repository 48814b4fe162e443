#pragma once

// The Wine test bench: one throwaway Wine prefix per run, on a private Xvfb display, with a
// persistent wineserver for the run; the fixture programs of the Windows build; and helpers to
// run Windows programs in that prefix, always with a time-out.

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "process.h"

namespace harness {

using namespace std::chrono_literals;

class Bench {
  public:
    // The bench of this run, set up on first use; ended by the test environment at the end.
    static Bench& Get();
    static void Shutdown();

    ~Bench();

    const std::filesystem::path& prefix() const { return prefix_; }
    const std::filesystem::path& scratch() const { return scratch_; }
    std::filesystem::path DriveC() const { return prefix_ / "drive_c"; }
    // A Windows executable of the build: Setup.exe or a fixture ("recorder", "seamprobe", ...).
    std::filesystem::path Executable(const std::string& name) const;
    // Environment for every Windows program of the bench.
    Environment WineEnvironment(const Environment& extra = {}) const;

    // Runs a Windows program (a Unix path to an .exe) with arguments, and waits for its end.
    Outcome Wine(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 std::chrono::milliseconds timeout = 30s, const Environment& extra = {}) const;
    // Starts one without waiting; its current directory is the Windows path of the Unix folder
    // `directory` when one is given.
    std::unique_ptr<Child> Start(const std::filesystem::path& program,
                                 const std::vector<std::string>& arguments,
                                 const Environment& extra = {},
                                 const std::filesystem::path& directory = {}) const;

    // Maps a drive letter of the prefix onto a Unix folder (which need not exist).
    void MapDrive(char letter, const std::filesystem::path& folder) const;
    void UnmapDrive(char letter) const;
    // Makes \\server\share reach a Unix folder.
    void MapShare(const std::string& server, const std::string& share,
                  const std::filesystem::path& folder) const;

    // A new empty folder for one test.
    std::filesystem::path NewFolder(const std::string& name);

  private:
    Bench();
    void StartDisplay();
    void MakePrefix();

    std::filesystem::path root_;
    std::filesystem::path prefix_;
    std::filesystem::path scratch_;
    std::filesystem::path bin_;
    std::unique_ptr<Child> display_;
    std::unique_ptr<Child> server_;
    std::string displayName_;
    int folders_ = 0;
};

// Z:\... for a Unix path (Wine's Z: is the Unix root).
std::string WinePath(const std::filesystem::path& unixPath);

// A line of a fixture: a first word, then TAB-separated key=value fields, escaped with \\, \t,
// \r and \n.
struct Record {
    std::string kind;
    std::map<std::string, std::string> fields;
    const std::string& operator[](const std::string& key) const;
};
std::string Unescaped(const std::string& text);
Record ParseRecord(const std::string& line);
std::vector<std::string> Lines(const std::string& text);
std::vector<Record> ReadRecords(const std::filesystem::path& file);

}  // namespace harness
