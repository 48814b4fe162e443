#include "probe.h"

#include <stdexcept>

namespace harness {

std::vector<ProbeAnswer> Probe(const std::vector<ProbeCommand>& commands, const Environment& extra,
                               const std::filesystem::path& program) {
    Bench& bench = Bench::Get();
    std::vector<std::string> arguments;
    for (const auto& command : commands) {
        if (!arguments.empty()) {
            arguments.push_back("--");
        }
        arguments.insert(arguments.end(), command.begin(), command.end());
    }
    const Outcome outcome = bench.Wine(program.empty() ? bench.Executable("seamprobe") : program,
                                       arguments, 60s, extra);
    if (outcome.timedOut) {
        throw std::runtime_error("seamprobe timed out");
    }
    std::vector<ProbeAnswer> answers;
    for (const auto& line : Lines(outcome.out)) {
        const std::size_t tab = line.find('\t');
        const std::string kind = line.substr(0, tab);
        const std::string rest = tab == std::string::npos ? "" : line.substr(tab + 1);
        ProbeAnswer answer;
        if (kind == "ok") {
            answer.ok = true;
            answer.value = Unescaped(rest);
        } else {
            const std::size_t second = rest.find('\t');
            answer.number = std::strtoul(rest.substr(0, second).c_str(), nullptr, 10);
            answer.description =
                second == std::string::npos ? rest : Unescaped(rest.substr(second + 1));
        }
        answers.push_back(answer);
    }
    if (answers.size() != commands.size()) {
        throw std::runtime_error("seamprobe gave " + std::to_string(answers.size()) +
                                 " answers for " + std::to_string(commands.size()) +
                                 " commands: " + outcome.out + outcome.err);
    }
    return answers;
}

ProbeAnswer ProbeOne(const ProbeCommand& command, const Environment& extra,
                     const std::filesystem::path& program) {
    return Probe({command}, extra, program).front();
}

}  // namespace harness
