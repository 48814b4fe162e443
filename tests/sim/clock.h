#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace sim {

// Virtual time in milliseconds, and what is due to happen at a given time (a window closes, a
// process ends, a timer ticks). Time moves only when the program waits or a test lets it run.
class Clock {
  public:
    std::uint64_t Now() const { return now_; }
    void At(std::uint64_t time, std::function<void()> action);
    void After(std::uint64_t delay, std::function<void()> action) {
        At(now_ + delay, std::move(action));
    }
    // Performs what falls due, in order of time, until `done` holds, or until nothing more is due
    // by the deadline (time then stands at the deadline; with no deadline, where it is). Gives
    // whether `done` holds.
    bool RunUntil(const std::function<bool()>& done, std::optional<std::uint64_t> deadline);
    // Lets `ms` milliseconds pass, performing everything that falls due within them.
    void Advance(std::uint64_t ms) {
        RunUntil([] { return false; }, now_ + ms);
    }
    bool NothingDue() const { return due_.empty(); }

  private:
    std::uint64_t now_ = 0;
    std::uint64_t sequence_ = 0;  // keeps actions due at the same time in the order they came
    std::multimap<std::pair<std::uint64_t, std::uint64_t>, std::function<void()>> due_;
};

}  // namespace sim
