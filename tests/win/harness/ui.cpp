#include "ui.h"

#include <sstream>

#include <gtest/gtest.h>

namespace harness {

namespace {

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');) {
        fields.push_back(field);
    }
    while (fields.size() < 15) {
        fields.emplace_back();  // an empty text at the end of the line
    }
    return fields;
}

}  // namespace

Shown Parse(const std::string& line) {
    const auto f = Fields(line);
    return Shown{std::stoi(f[0]),
                 f[1],
                 f[2] == "1",
                 f[3] == "1",
                 std::stoi(f[4]),
                 std::stoi(f[5]),
                 std::stoi(f[6]),
                 std::stoi(f[7]),
                 std::stoi(f[8]),
                 f[9],
                 std::stoi(f[10]),
                 std::stoi(f[11]),
                 f[12] == "1",
                 f[13],
                 f[14]};
}

std::map<int, Shown> ParseAll(const std::string& lines) {
    std::map<int, Shown> shown;
    for (const auto& line : Lines(lines)) {
        const Shown control = Parse(line);
        shown[control.id] = control;
    }
    return shown;
}

ProbeAnswer Drive(const std::vector<ProbeCommand>& commands, std::vector<ProbeAnswer>* all) {
    auto answers = Probe(commands, {}, Bench::Get().Executable("uidriver"));
    for (const auto& answer : answers) {
        EXPECT_TRUE(answer.ok) << answer.description;
    }
    if (all != nullptr) {
        *all = answers;
    }
    return answers.back();
}

Shown ControlOf(const std::string& window, const std::string& id) {
    return Parse(Drive({{"control", window, id}}).value);
}

HostedWindow::HostedWindow(const std::vector<std::string>& arguments, const Environment& extra)
    : child_(Bench::Get().Start(Bench::Get().Executable("ProcessHost"), arguments, extra)) {
    // Found as soon as it exists; shown maximized and painted a moment later.
    std::vector<ProbeAnswer> answers;
    Drive({{"find", "form", "Ausführung", "20000"}, {"sleep", "700"}}, &answers);
    window_ = answers[0].value;
}

HostedWindow::~HostedWindow() {
    if (child_->Running()) {
        Probe({{"close", window_}}, {}, Bench::Get().Executable("uidriver"));
        child_->Wait(10s);
    }
}

int HostedWindow::Close() {
    Drive({{"close", window_}});
    return child_->Wait(10s).exitCode;
}

}  // namespace harness
