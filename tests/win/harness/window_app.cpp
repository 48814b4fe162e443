#include "window_app.h"

#include <sstream>
#include <stdexcept>
#include <thread>

namespace harness {

WindowApp::WindowApp(const std::vector<std::string>& windows) {
    Bench& bench = Bench::Get();
    log_ = bench.NewFolder("window-app") / "log.txt";
    child_ = bench.Start(bench.Executable("window_app"), windows,
                         {{"ZARVIK_WINDOW_APP_LOG", WinePath(log_)}});
    const auto ready = WaitFor("ready", 20s);
    if (!ready) {
        throw std::runtime_error("window_app did not come up");
    }
    ready_ = *ready;
    std::istringstream list(ready_["windows"]);
    for (std::string window; std::getline(list, window, ',');) {
        windows_.push_back(window);
    }
}

WindowApp::~WindowApp() {
    child_->Kill();
}

std::optional<Record> WindowApp::WaitFor(const std::string& kind,
                                         std::chrono::milliseconds time) const {
    const auto until = std::chrono::steady_clock::now() + time;
    do {
        for (const Record& record : Records()) {
            if (record.kind == kind) {
                return record;
            }
        }
        std::this_thread::sleep_for(20ms);
    } while (std::chrono::steady_clock::now() < until);
    return std::nullopt;
}

int WindowApp::WaitForExit(std::chrono::milliseconds time) {
    const Outcome outcome = child_->Wait(time);
    return outcome.timedOut ? -1 : outcome.exitCode;
}

}  // namespace harness
