#pragma once

// Two rules of the runtime facilities that both bindings follow, written once.

#include <new>
#include <stdexcept>

#include "system/failure.h"
#include "system/types.h"

namespace runtime {

inline constexpr std::uint32_t kErrorNotEnoughMemory = 8;
inline constexpr std::uint32_t kErrorElevationRequired = 740;

// Runs a facility's work. A failure of memory inside it (a setting of hundreds of megabytes, say)
// is a failure of that facility, raised as `outOfMemory()` gives it, like any other: it must not
// end the program.
template <typename Work, typename OutOfMemory>
decltype(auto) GuardingMemory(Work&& work, OutOfMemory&& outOfMemory) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        throw outOfMemory();
    } catch (const std::length_error&) {
        throw outOfMemory();
    }
}

// Starts a program by process creation; when the system refuses because the program needs
// elevation (its manifest asks for administrator rights), starts the same file with the same
// arguments and show command through the shell's execute call, which asks the user's consent.
template <typename Create, typename Execute>
sys::ProcessId StartAskingForElevation(Create&& create, Execute&& execute) {
    try {
        return create();
    } catch (const sys::Failure& failure) {
        if (failure.number() != kErrorElevationRequired) {
            throw;
        }
    }
    return execute();
}

}  // namespace runtime
