#pragma once

// How the system finds the file of a program to start.

#include <cstdint>
#include <optional>
#include <string>

#include "world.h"

namespace sim {

struct ProgramLookup {
    std::optional<std::wstring> image;  // the full path of the file
    std::uint32_t error = 0;            // the system's error when there is none
};

// The file that a program path names exactly; a path without a folder means the current
// directory.
ProgramLookup FindProgram(const World& world, const std::wstring& path);

// The program of a whole command line, split as the system splits it: a quoted program ends at
// its closing quote; otherwise each blank in turn is tried as the end of the program's path,
// shortest first. ".exe" is added to a name without extension.
ProgramLookup FindProgramOfCommandLine(const World& world, const std::wstring& commandLine);

}  // namespace sim
