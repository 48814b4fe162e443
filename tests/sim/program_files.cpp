#include "program_files.h"

#include "runtime/rules.h"
#include "system/constants.h"

namespace sim {

ProgramLookup FindProgram(const World& world, const std::wstring& path) {
    const std::wstring full = world.files.FullPath(path);
    if (const std::uint32_t problem = world.files.RootProblem(full)) {
        return {std::nullopt,
                problem == sys::kErrorInvalidDrive ? sys::kErrorPathNotFound : problem};
    }
    const Entry* entry = world.files.FindEntry(full);
    if (entry == nullptr || entry->folder) {
        return {std::nullopt, sys::kErrorFileNotFound};
    }
    return {full, 0};
}

ProgramLookup FindProgramOfCommandLine(const World& world, const std::wstring& commandLine) {
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const std::size_t close = commandLine.find(L'"', 1);
        return FindProgram(world, runtime::WithDefaultExtension(commandLine.substr(1, close - 1)));
    }
    if (commandLine.find_first_not_of(L' ') == std::wstring::npos) {
        return {std::nullopt, sys::kErrorFileNotFound};
    }
    for (std::size_t end = commandLine.find(L' ');; end = commandLine.find(L' ', end + 1)) {
        const ProgramLookup found =
            FindProgram(world, runtime::WithDefaultExtension(commandLine.substr(0, end)));
        if (found.image || end == std::wstring::npos) {
            return found;
        }
    }
}

}  // namespace sim
