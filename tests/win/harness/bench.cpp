#include "bench.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#ifndef ZARVIK_WINDOWS_BIN
#error "ZARVIK_WINDOWS_BIN names the folder of the Windows build"
#endif

namespace harness {

namespace fs = std::filesystem;

namespace {

std::unique_ptr<Bench> theBench;
std::string benchFailure;  // why the bench could not be set up; not tried again

constexpr auto kPrefixTimeout = 240s;

void Require(const Outcome& outcome, const std::string& what) {
    if (outcome.timedOut || outcome.exitCode != 0) {
        throw std::runtime_error(what + " failed (exit " + std::to_string(outcome.exitCode) +
                                 (outcome.timedOut ? ", timed out" : "") + "): " + outcome.err);
    }
}

}  // namespace

Bench& Bench::Get() {
    if (!benchFailure.empty()) {
        throw std::runtime_error(benchFailure);
    }
    if (!theBench) {
        try {
            theBench.reset(new Bench());
        } catch (const std::exception& failure) {
            benchFailure = std::string("the Wine bench cannot be set up: ") + failure.what();
            throw std::runtime_error(benchFailure);
        }
    }
    return *theBench;
}

void Bench::Shutdown() {
    theBench.reset();
}

Bench::Bench() {
    const char* bin = std::getenv("ZARVIK_WINDOWS_BIN");
    bin_ = bin != nullptr ? fs::path(bin) : fs::path(ZARVIK_WINDOWS_BIN);
    if (!fs::exists(bin_ / "Setup.exe")) {
        throw std::runtime_error("no Setup.exe in " + bin_.string() +
                                 ": build the windows preset first");
    }
    char pattern[] = "/tmp/zarvik-wine-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    root_ = pattern;
    prefix_ = root_ / "prefix";
    scratch_ = root_ / "scratch";
    fs::create_directories(scratch_);
    StartDisplay();
    MakePrefix();
}

Bench::~Bench() {
    if (!prefix_.empty()) {
        Run({"wineserver", "-k"}, WineEnvironment(), 30s);
    }
    server_.reset();
    display_.reset();
    std::error_code ignored;
    if (std::getenv("ZARVIK_KEEP_BENCH") == nullptr) {
        fs::remove_all(root_, ignored);
    }
}

void Bench::StartDisplay() {
    // Xvfb takes the first free display number and writes it to the descriptor it is given.
    display_ =
        std::make_unique<Child>(std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0",
                                                         "1280x1024x24", "-nolisten", "tcp"},
                                Environment{});
    const std::string number = display_->ReadLine(30s);
    if (number.empty()) {
        throw std::runtime_error("cannot start Xvfb");
    }
    displayName_ = ":" + number;
}

Environment Bench::WineEnvironment(const Environment& extra) const {
    Environment environment = {
        {"WINEPREFIX", prefix_.string()},
        {"WINEDEBUG", "-all"},
        {"WINEARCH", "win64"},
        // No Mono or Gecko installers: they would ask on screen.
        {"WINEDLLOVERRIDES", "mscoree=;mshtml="},
        {"DISPLAY", displayName_},
        {"LANG", "C.UTF-8"},
    };
    for (const auto& [key, value] : extra) {
        environment[key] = value;
    }
    return environment;
}

void Bench::MakePrefix() {
    // The prefix's server stays up for the whole run instead of starting anew, with the prefix's
    // services, for each program. It must come first: wineboot would otherwise start a server of
    // its own that ends with the last program, and a second server is refused while it runs.
    fs::create_directories(prefix_);
    server_ = std::make_unique<Child>(std::vector<std::string>{"wineserver", "-p", "-f"},
                                      WineEnvironment());
    Require(Run({"wineboot", "-i"}, WineEnvironment(), kPrefixTimeout), "wineboot -i");
    if (!server_->Running()) {
        throw std::runtime_error("the prefix's wineserver ended");
    }
    // Without a window manager Wine holds a closing message box for about 2 s unless its windows
    // are unmanaged.
    Require(Run({"wine", "reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed", "/t",
                 "REG_SZ", "/d", "N", "/f"},
                WineEnvironment(), 60s),
            "setting the X11 driver");
}

fs::path Bench::Executable(const std::string& name) const {
    const fs::path path = bin_ / (name.ends_with(".exe") ? name : name + ".exe");
    if (!fs::exists(path)) {
        throw std::runtime_error("missing " + path.string());
    }
    return path;
}

Outcome Bench::Wine(const fs::path& program, const std::vector<std::string>& arguments,
                    std::chrono::milliseconds timeout, const Environment& extra) const {
    std::vector<std::string> argv = {"wine", program.string()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return Run(argv, WineEnvironment(extra), timeout);
}

std::unique_ptr<Child> Bench::Start(const fs::path& program,
                                    const std::vector<std::string>& arguments,
                                    const Environment& extra, const fs::path& directory) const {
    std::vector<std::string> argv = {"wine", program.string()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    // Wine starts the program in the Windows path of its Unix working directory.
    return std::make_unique<Child>(argv, WineEnvironment(extra), directory.string());
}

void Bench::MapDrive(char letter, const fs::path& folder) const {
    const fs::path link = prefix_ / "dosdevices" / (std::string(1, letter) + ":");
    std::error_code ignored;
    fs::remove(link, ignored);
    fs::create_symlink(folder, link);
}

void Bench::UnmapDrive(char letter) const {
    std::error_code ignored;
    fs::remove(prefix_ / "dosdevices" / (std::string(1, letter) + ":"), ignored);
}

void Bench::MapShare(const std::string& server, const std::string& share,
                     const fs::path& folder) const {
    const fs::path serverFolder = prefix_ / "dosdevices" / "unc" / server;
    fs::create_directories(serverFolder);
    std::error_code ignored;
    fs::remove(serverFolder / share, ignored);
    fs::create_symlink(folder, serverFolder / share);
}

fs::path Bench::NewFolder(const std::string& name) {
    const fs::path folder = scratch_ / (std::to_string(++folders_) + "-" + name);
    fs::create_directories(folder);
    return folder;
}

std::string WinePath(const fs::path& unixPath) {
    std::string path = "Z:" + fs::absolute(unixPath).lexically_normal().string();
    for (auto& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

const std::string& Record::operator[](const std::string& key) const {
    static const std::string empty;
    const auto found = fields.find(key);
    return found == fields.end() ? empty : found->second;
}

std::string Unescaped(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        const char next = text[++i];
        result += next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return result;
}

Record ParseRecord(const std::string& line) {
    Record record;
    std::size_t start = 0;
    bool first = true;
    while (start <= line.size()) {
        std::size_t end = line.find('\t', start);
        if (end == std::string::npos) {
            end = line.size();
        }
        const std::string field = line.substr(start, end - start);
        if (first) {
            record.kind = field;
            first = false;
        } else {
            const std::size_t equals = field.find('=');
            record.fields[field.substr(0, equals)] =
                equals == std::string::npos ? "" : Unescaped(field.substr(equals + 1));
        }
        start = end + 1;
    }
    return record;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<Record> ReadRecords(const fs::path& file) {
    std::ifstream stream(file);
    std::stringstream text;
    text << stream.rdbuf();
    std::vector<Record> records;
    for (const auto& line : Lines(text.str())) {
        if (!line.empty()) {
            records.push_back(ParseRecord(line));
        }
    }
    return records;
}

}  // namespace harness
