#pragma once

// Child processes for the tests of the real executables: every run has a time-out, after which the
// child and everything it started in its process group are killed, so that nothing can hang a
// test run.

#include <sys/types.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace harness {

using Environment = std::map<std::string, std::string>;

struct Outcome {
    int exitCode = -1;  // -1 when it did not end by itself
    bool timedOut = false;
    std::string out;
    std::string err;
};

class Child {
  public:
    // Starts argv[0] (searched on PATH) with the current environment plus `extra`, in the given
    // working directory (this process's own when empty).
    Child(const std::vector<std::string>& argv, const Environment& extra,
          const std::string& workingDirectory = "");
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child();

    // Waits until it ends or the time-out passes (then kills it), collecting its output.
    Outcome Wait(std::chrono::milliseconds timeout);
    // The first line the child writes to its standard output, or "" when none comes in time.
    std::string ReadLine(std::chrono::milliseconds timeout);
    void Kill();
    // Whether it still runs; does not wait.
    bool Running();
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool done_ = false;
    Outcome outcome_;
};

Outcome Run(const std::vector<std::string>& argv, const Environment& extra,
            std::chrono::milliseconds timeout);

}  // namespace harness
