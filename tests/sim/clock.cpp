#include "clock.h"

#include <algorithm>

namespace sim {

void Clock::At(std::uint64_t time, std::function<void()> action) {
    due_.emplace(std::make_pair(std::max(time, now_), sequence_++), std::move(action));
}

bool Clock::RunUntil(const std::function<bool()>& done, std::optional<std::uint64_t> deadline) {
    while (!done()) {
        if (due_.empty() || (deadline && due_.begin()->first.first > *deadline)) {
            if (deadline) {
                now_ = std::max(now_, *deadline);
            }
            return false;
        }
        const auto next = due_.begin();
        now_ = std::max(now_, next->first.first);
        const std::function<void()> action = std::move(next->second);
        due_.erase(next);
        action();
    }
    return true;
}

}  // namespace sim
