#pragma once

// The launcher's support trace. It shows no window, so each step writes one line to the debugger
// output instead: the step, what it looked for, read, asked or started, and the outcome. Support
// staff read it with a viewer of the debugger output (under Wine: WINEDEBUG=+debugstr). Nothing
// is shown and nothing is written to disk.

#include <cstdint>
#include <string>

#include "system/failure.h"

namespace startup {

class Trace {
  public:
    // program: the name each line begins with.
    explicit Trace(std::wstring program) : program_(std::move(program)) {}
    // "<program>: <step> <text>"
    void Step(int step, const std::wstring& text) const;

  private:
    std::wstring program_;
};

// A text as the trace quotes it.
std::wstring Quoted(const std::wstring& text);
// "error N (description)"
std::wstring Described(const sys::Failure& failure);

}  // namespace startup
