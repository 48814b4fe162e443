#include "medium.h"

#include <fstream>
#include <stdexcept>
#include <thread>

#include "probe.h"

namespace harness {

namespace fs = std::filesystem;

namespace {

fs::path ProgramFiles() {
    return Bench::Get().DriveC() / "Program Files (x86)";
}

void Copy(const fs::path& from, const fs::path& to) {
    fs::create_directories(to.parent_path());
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

}  // namespace

Medium::Medium(const std::string& folder) {
    Bench& bench = Bench::Get();
    drive_ = bench.NewFolder("medium");
    folder_ = folder.empty() ? drive_ : drive_ / folder;
    log_ = drive_ / "started.log";
    fs::create_directories(folder_);
    bench.MapDrive('m', drive_);
    Copy(bench.Executable("Setup"), folder_ / "Setup.exe");
    for (const char* name : {"Installer.exe", "PreInstaller.exe", "KORPELT.EXE", "VENTARIS.EXE"}) {
        Put(name);
    }
    // Nothing of an earlier test beneath the program-files folder.
    std::error_code ignored;
    fs::remove_all(ProgramFiles() / "ZARVIK Installer", ignored);
    fs::remove(bench.DriveC() / "Program.exe", ignored);
    fs::remove(ProgramFiles() / "ZARVIK.exe", ignored);
    StoreDataPath(DataPathWithDatabase());
}

Medium::~Medium() {
    std::error_code ignored;
    fs::remove_all(ProgramFiles() / "ZARVIK Installer", ignored);
    fs::remove(Bench::Get().DriveC() / "Program.exe", ignored);
    fs::remove(ProgramFiles() / "ZARVIK.exe", ignored);
    Bench::Get().UnmapDrive('m');
}

std::string Medium::Folder() const {
    const std::string relative = fs::relative(folder_, drive_).string();
    return relative == "." ? "M:\\" : "M:\\" + relative;
}

std::string Medium::File(const std::string& name) const {
    const std::string folder = Folder();
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

void Medium::Put(const std::string& name) const {
    Copy(Bench::Get().Executable("recorder"), folder_ / name);
}

void Medium::Remove(const std::string& name) const {
    fs::remove(folder_ / name);
}

void Medium::PutPreInstallerUnderProgramFiles() const {
    Copy(Bench::Get().Executable("recorder"),
         ProgramFiles() / "ZARVIK Installer" / "PreInstaller.exe");
}

void Medium::PlantHijackers() const {
    const fs::path recorder = Bench::Get().Executable("recorder");
    Copy(recorder, Bench::Get().DriveC() / "Program.exe");
    Copy(recorder, ProgramFiles() / "ZARVIK.exe");
}

void Medium::StoreDataPath(const std::optional<std::string>& path) const {
    const ProbeAnswer answer =
        path ? ProbeOne({"set-setting", "ZARVIK-Software", "Quandor", "NetzwerkPfad", "sz", *path})
             : ProbeOne({"set-setting", "ZARVIK-Software", "Quandor", "NetzwerkPfad", "delete"});
    if (!answer.ok && path) {
        throw std::runtime_error("cannot store the data path");
    }
}

std::string Medium::DataPathWithDatabase() const {
    const fs::path database = drive_ / "Daten" / "DAT" / "Pelmadat.mdb";
    fs::create_directories(database.parent_path());
    std::ofstream(database) << "mdb";
    return "M:\\Daten";
}

Environment Medium::Logging() const {
    return {{"ZARVIK_RECORDER_LOG", WinePath(log_)}};
}

std::vector<Record> Medium::StartedNow() const {
    return ReadRecords(log_);
}

std::vector<Record> Medium::Started(std::size_t expected) const {
    for (int wait = 0; wait < 100; ++wait) {
        const auto records = StartedNow();
        if (records.size() >= expected) {
            return records;
        }
        std::this_thread::sleep_for(50ms);
    }
    return StartedNow();
}

Record Medium::OnlyStarted() const {
    const auto records = Started(1);
    if (records.size() != 1) {
        throw std::runtime_error("expected one started program, found " +
                                 std::to_string(records.size()));
    }
    return records.front();
}

std::unique_ptr<Child> Medium::StartSetup(const Environment& extra) const {
    Environment environment = Logging();
    environment.insert(extra.begin(), extra.end());
    return Bench::Get().Start(File("Setup.exe"), {}, environment);
}

Outcome Medium::RunSetup() const {
    return StartSetup()->Wait(30s);
}

Record AnswerBox(int button, const std::string& image) {
    Bench& bench = Bench::Get();
    const Outcome seen = bench.Wine(
        bench.Executable("mbdriver"),
        {"wait", "--image", image, "--answer", std::to_string(button), "--timeout", "20000"}, 40s);
    const auto lines = Lines(seen.out);
    if (seen.exitCode != 0 || lines.empty()) {
        return Record{"no box", {}};
    }
    return ParseRecord(lines.front());
}

bool NoBoxWithin(std::chrono::milliseconds time) {
    Bench& bench = Bench::Get();
    const Outcome seen =
        bench.Wine(bench.Executable("mbdriver"),
                   {"none", std::to_string(time.count()), "--image", "Setup.exe"}, time + 20s);
    return seen.exitCode == 0;
}

}  // namespace harness
