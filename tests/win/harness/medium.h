#pragma once

// An installation medium laid out for one test of the real Setup.exe: drive M: is a fresh folder
// holding the medium, the data directory and the recorder's log. The vendor's programs beside the
// launcher are recorders.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench.h"

namespace harness {

class Medium {
  public:
    // folder: the medium's folder on M:, "" for the drive's root.
    explicit Medium(const std::string& folder = "Setup");
    ~Medium();

    // Windows paths.
    std::string Folder() const;                       // M:\Setup, or M:\ at the root
    std::string File(const std::string& name) const;  // a file in the medium's folder
    // Unix paths.
    std::filesystem::path UnixFolder() const { return folder_; }
    std::filesystem::path Drive() const { return drive_; }

    // The vendor's programs: the recorder under each name, beside the launcher.
    void Put(const std::string& name) const;
    void Remove(const std::string& name) const;
    // The pre-installer beneath the program-files folder, and the planted files that an
    // unquoted path would start instead of it.
    void PutPreInstallerUnderProgramFiles() const;
    void PlantHijackers() const;

    // The data path in the settings store; nothing for no value at all.
    void StoreDataPath(const std::optional<std::string>& path) const;
    // M:\Daten with its master database.
    std::string DataPathWithDatabase() const;

    Environment Logging() const;
    std::vector<Record> Started(std::size_t expected) const;  // waits for that many
    std::vector<Record> StartedNow() const;
    // The one program started, once it has come up; fails the test when there is not exactly one.
    Record OnlyStarted() const;

    std::unique_ptr<Child> StartSetup(const Environment& extra = {}) const;
    // Runs Setup.exe to its end with nothing to answer.
    Outcome RunSetup() const;

  private:
    std::filesystem::path drive_;
    std::filesystem::path folder_;
    std::filesystem::path log_;
};

// The message box that comes up next (of Setup.exe, or the program of that file name), answered
// with `button`.
Record AnswerBox(int button, const std::string& image = "Setup.exe");
// Nothing comes up within the time.
bool NoBoxWithin(std::chrono::milliseconds time);

}  // namespace harness
