// The process window's performance figures, measured in the launcher's benchmark run:
//   - the CPU time ProcessHost.exe spends while it watches a running job for 10 s;
//   - the delay from a job's exit to "Fertig", against the timer's interval of 1 s;
//   - the time of a title lookup (gethWndFromTitle) that walks 10, 100 and 1000 top-level windows.

#include "window_bench.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <thread>

#include "bench.h"

namespace harness {

namespace {

namespace fs = std::filesystem;

double CpuMs(pid_t pid) {
    double ns = 0;
    std::error_code error;
    for (const auto& thread :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(thread.path() / "schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu) {
            ns += onCpu;
        }
    }
    return ns / 1e6;
}

Record FirstOf(const fs::path& log, const std::string& kind, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < until) {
        for (const Record& record : ReadRecords(log)) {
            if (record.kind == kind) {
                return record;
            }
        }
        std::this_thread::sleep_for(20ms);
    }
    throw std::runtime_error("no " + kind + " record in " + log.string());
}

double WatchingCpuMs(Bench& bench) {
    const fs::path log = bench.NewFolder("bench-watch") / "job.log";
    auto host = bench.Start(bench.Executable("ProcessHost"),
                            {"--create", WinePath(bench.Executable("window_app")), "Job"},
                            {{"ZARVIK_WINDOW_APP_LOG", WinePath(log)}});
    FirstOf(log, "ready", 30s);
    std::this_thread::sleep_for(2s);  // shown, painted, the first ticks done
    const double before = CpuMs(host->pid());
    std::this_thread::sleep_for(10s);
    const double after = CpuMs(host->pid());
    host->Kill();
    return after - before;
}

std::vector<double> FertigDelaysMs(Bench& bench) {
    std::vector<double> delays;
    for (int run = 0; run < 8; ++run) {
        const fs::path log = bench.NewFolder("bench-fertig") / "job.log";
        // Exits spread over the timer's second, so that every phase of it is met.
        const std::string line = WinePath(bench.Executable("window_app")) +
                                 " --exit-after=" + std::to_string(1500 + 125 * run) + " Job";
        const Outcome outcome = bench.Wine(bench.Executable("form_host"), {"job", line}, 60s,
                                           {{"ZARVIK_WINDOW_APP_LOG", WinePath(log)}});
        const Record job = ParseRecord(Lines(outcome.out).at(0));
        const Record exit = FirstOf(log, "exit", 5s);
        delays.push_back((std::stod(job["fertig"]) - std::stod(exit["time"])) / 1e4);
    }
    return delays;
}

Record Walk(Bench& bench, int windows) {
    const fs::path log = bench.NewFolder("bench-walk") / "windows.log";
    auto app = bench.Start(bench.Executable("window_app"), {"--many=" + std::to_string(windows)},
                           {{"ZARVIK_WINDOW_APP_LOG", WinePath(log)}});
    FirstOf(log, "ready", 60s);
    const Outcome outcome =
        bench.Wine(bench.Executable("form_host"), {"walk", "nirgends", "20"}, 120s);
    app->Kill();
    return ParseRecord(Lines(outcome.out).at(0));
}

}  // namespace

void MeasureProcessWindow() {
    Bench& bench = Bench::Get();
    const double cpu = WatchingCpuMs(bench);
    std::vector<double> delays = FertigDelaysMs(bench);
    std::sort(delays.begin(), delays.end());
    std::printf("Process window under Wine\n");
    std::printf(
        "  CPU time of ProcessHost.exe (all threads) while it watched a job for 10 s: "
        "%.2f ms (goal: under 20 ms)\n",
        cpu);
    std::printf(
        "  delay from the job's exit to \"Fertig\", %zu jobs ending at every phase of the "
        "1000 ms timer: %.0f to %.0f ms, median %.0f ms\n",
        delays.size(), delays.front(), delays.back(), delays[delays.size() / 2]);
    std::printf(
        "  title lookup that walks all top-level windows (no match; mean of 20), against\n"
        "  the same system calls made bare (GW_HWNDNEXT and GetWindowTextA per window):\n");
    for (const int windows : {10, 100, 1000}) {
        const Record walk = Walk(bench, windows);
        const double us = std::stod(walk["microseconds"]);
        const double bare = std::stod(walk["bare"]);
        const double walked = std::stod(walk["windows"]);
        std::printf(
            "    %5d windows of a program, %4.0f walked: lookup %8.0f us (%5.1f us per "
            "window), bare %8.0f us, ratio %.2f\n",
            windows, walked, us, us / walked, bare, us / bare);
    }
}

}  // namespace harness
