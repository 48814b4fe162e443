#pragma once

// window_app, a program with top-level windows of the test's choosing, running in the bench.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench.h"

namespace harness {

class WindowApp {
  public:
    // Each window as window_app takes it: "TITLE[,OPTION...]". Waits until it is ready.
    explicit WindowApp(const std::vector<std::string>& windows);
    WindowApp(const WindowApp&) = delete;
    WindowApp& operator=(const WindowApp&) = delete;
    ~WindowApp();

    const std::string& pid() const { return ready_["pid"]; }
    const std::string& thread() const { return ready_["thread"]; }
    // The handles of the windows made at its start, as decimal text, in the order given.
    const std::vector<std::string>& windows() const { return windows_; }

    std::vector<Record> Records() const { return ReadRecords(log_); }
    // The first record of this kind, once it has come (within the time).
    std::optional<Record> WaitFor(const std::string& kind, std::chrono::milliseconds time) const;
    // Its end: the exit code, or -1 when it does not end within the time.
    int WaitForExit(std::chrono::milliseconds time);

  private:
    std::filesystem::path log_;
    std::unique_ptr<Child> child_;
    Record ready_;
    std::vector<std::string> windows_;
};

}  // namespace harness
