// The launcher's performance figures, measured side by side in one run under Wine:
//   - time from start to the pre-installer's start, and to the launcher's own exit, on the happy
//     path, against a minimal program that only starts the same pre-installer, and against one
//     that also looks for the main application's window first;
//   - CPU time the launcher spends while it waits 5 s for a main application that delays its
//     close;
//   - size of Setup.exe and the DLLs it imports;
//   - its peak resident set under Wine;
//   - the process window's figures (window_bench.cpp).
// A benchmark, not a test: it prints what it measured and fails on nothing but a broken run.

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "bench.h"
#include "medium.h"
#include "window_bench.h"

namespace {

using namespace harness;
namespace fs = std::filesystem;

constexpr int kRuns = 25;
constexpr long kWaitMs = 5000;

double NowMs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A FILETIME (100 ns since 1601) as Unix milliseconds.
double FileTimeMs(const std::string& fileTime) {
    return (std::stod(fileTime) - 116444736000000000.0) / 1e4;
}

double Quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5)];
}

double Median(const std::vector<double>& values) {
    return Quantile(values, 0.5);
}

struct Timing {
    std::vector<double> toPreInstaller;
    std::vector<double> toExit;
};

// Starts a launcher on the medium and measures when the pre-installer came up and when the
// launcher ended, both from the moment it was started.
void Measure(const Medium& medium, const std::string& launcher, Timing& timing) {
    fs::remove(medium.Drive() / "started.log");
    const double start = NowMs();
    const auto child = Bench::Get().Start(medium.File(launcher), {}, medium.Logging());
    const Outcome outcome = child->Wait(30s);
    const double exit = NowMs();
    const auto started = medium.Started(1);
    if (outcome.timedOut || started.size() != 1) {
        throw std::runtime_error(launcher + " did not start the pre-installer");
    }
    timing.toPreInstaller.push_back(FileTimeMs(started[0]["time"]) - start);
    timing.toExit.push_back(exit - start);
}

struct ProcessSample {
    double cpuMs = -1;
    long peakKb = -1;
};

// CPU time of all the process's threads, in ns precision (schedstat), and its peak resident set.
ProcessSample Sample(pid_t pid) {
    ProcessSample sample;
    const fs::path process = "/proc/" + std::to_string(pid);
    std::error_code error;
    double cpuNs = 0;
    for (const auto& thread : fs::directory_iterator(process / "task", error)) {
        std::ifstream schedstat(thread.path() / "schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu) {
            cpuNs += onCpu;
        }
    }
    if (error) {
        return sample;
    }
    sample.cpuMs = cpuNs / 1e6;
    std::ifstream status(process / "status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            sample.peakKb = std::stol(line.substr(6));
        }
    }
    return sample;
}

// Reads the stand-in's log until a line of the kind shows up.
bool WaitForEvent(const fs::path& log, const std::string& kind, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < until) {
        for (const auto& record : ReadRecords(log)) {
            if (record.kind == kind) {
                return true;
            }
        }
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

}  // namespace

int main() {
    try {
        Bench& bench = Bench::Get();
        Medium medium;
        fs::copy_file(bench.Executable("minimal_start"), medium.UnixFolder() / "Minimal.exe");
        fs::copy_file(bench.Executable("minimal_find_start"),
                      medium.UnixFolder() / "MinimalFind.exe");

        // Warm the prefix up once, so that the first run measures no more than the later ones.
        Timing warmUp;
        Measure(medium, "Setup.exe", warmUp);
        Measure(medium, "Minimal.exe", warmUp);
        Measure(medium, "MinimalFind.exe", warmUp);

        Timing setup;
        Timing minimal;
        Timing minimalFind;
        for (int run = 0; run < kRuns; ++run) {
            Measure(medium, "Setup.exe", setup);
            Measure(medium, "Minimal.exe", minimal);
            Measure(medium, "MinimalFind.exe", minimalFind);
        }

        // The wait: a stand-in main application that closes 5 s after it is asked to.
        const fs::path standInLog = bench.NewFolder("bench-standin") / "standin.log";
        const auto velmora = bench.Start(bench.Executable("standin_app"),
                                         {"Velmora", "delay", std::to_string(kWaitMs)},
                                         {{"ZARVIK_STANDIN_LOG", WinePath(standInLog)}});
        if (!WaitForEvent(standInLog, "ready", 20s)) {
            throw std::runtime_error("the stand-in did not come up");
        }
        fs::remove(medium.Drive() / "started.log");
        const auto launcher = medium.StartSetup();
        if (!WaitForEvent(standInLog, "close-requested", 20s)) {
            throw std::runtime_error("Setup.exe did not ask the stand-in to close");
        }
        const auto waitBegan = std::chrono::steady_clock::now();
        const ProcessSample first = Sample(launcher->pid());
        std::this_thread::sleep_until(waitBegan + std::chrono::milliseconds(kWaitMs - 100));
        const ProcessSample last = Sample(launcher->pid());
        const double sampledMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - waitBegan)
                .count();
        launcher->Wait(30s);
        velmora->Wait(10s);

        const Outcome imports =
            Run({"i686-w64-mingw32-objdump", "-p", bench.Executable("Setup").string()}, {}, 30s);
        std::string dlls;
        for (const auto& line : Lines(imports.out)) {
            const std::size_t at = line.find("DLL Name: ");
            if (at != std::string::npos) {
                dlls += (dlls.empty() ? "" : ", ") + line.substr(at + 10);
            }
        }
        const auto size = fs::file_size(bench.Executable("Setup"));

        std::printf(
            "Launcher figures under Wine (%d interleaved runs each; medians in ms from the "
            "start)\n",
            kRuns);
        std::printf("  %-32s %9s %9s %7s %14s %7s\n", "", "Setup.exe", "minimal", "ratio",
                    "minimal+find", "ratio");
        const auto row = [](const char* what, const std::vector<double>& measured,
                            const std::vector<double>& bare, const std::vector<double>& find) {
            std::printf("  %-32s %9.1f %9.1f %7.3f %14.1f %7.3f\n", what, Median(measured),
                        Median(bare), Median(measured) / Median(bare), Median(find),
                        Median(measured) / Median(find));
        };
        row("start -> pre-installer started", setup.toPreInstaller, minimal.toPreInstaller,
            minimalFind.toPreInstaller);
        row("start -> launcher ended", setup.toExit, minimal.toExit, minimalFind.toExit);
        std::printf(
            "  spread of Setup.exe (25th to 75th percentile): %.1f to %.1f ms to the "
            "pre-installer, %.1f to %.1f ms to its end\n",
            Quantile(setup.toPreInstaller, 0.25), Quantile(setup.toPreInstaller, 0.75),
            Quantile(setup.toExit, 0.25), Quantile(setup.toExit, 0.75));
        std::printf(
            "CPU time of Setup.exe (all threads) while it waited %.1f s for the main "
            "application: %.2f ms (%.2f ms used before the wait began, %.2f ms at its end)\n",
            sampledMs / 1000.0, last.cpuMs - first.cpuMs, first.cpuMs, last.cpuMs);
        std::printf("Size of Setup.exe: %llu bytes (%.1f KiB); imports: %s\n",
                    static_cast<unsigned long long>(size), static_cast<double>(size) / 1024.0,
                    dlls.c_str());
        std::printf(
            "Peak resident set of Setup.exe under Wine (VmHWM, Wine's own DLLs included): %ld "
            "KiB\n",
            last.peakKb);
        MeasureProcessWindow();
        Bench::Shutdown();
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "benchmark failed: %s\n", failure.what());
        Bench::Shutdown();
        return 1;
    }
}
