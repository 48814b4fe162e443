#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "bench.h"

namespace harness {

// One answer of seamprobe, which runs the program's Windows binding of the seam.
struct ProbeAnswer {
    bool ok = false;
    std::string value;         // of an answer that is ok
    unsigned long number = 0;  // of a failure
    std::string description;
};

using ProbeCommand = std::vector<std::string>;

// Runs the commands in one seamprobe process (program: a copy of seamprobe.exe to run instead,
// for a program folder of the test's choosing) and gives one answer per command.
std::vector<ProbeAnswer> Probe(const std::vector<ProbeCommand>& commands,
                               const Environment& extra = {},
                               const std::filesystem::path& program = {});
ProbeAnswer ProbeOne(const ProbeCommand& command, const Environment& extra = {},
                     const std::filesystem::path& program = {});

}  // namespace harness
