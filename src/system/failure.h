#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace sys {

// A failure of a runtime facility or a control, carrying a number and a description. The runtime
// facilities use the Win32 error number of the call that failed and the system's text for it.
// Only three places catch it: the shell start route of the process window, the startup sequence
// (which passes over a failing step), and the boundary of each event handler.
class Failure : public std::exception {
  public:
    Failure(std::uint32_t number, std::wstring description)
        : number_(number), description_(std::move(description)) {}

    std::uint32_t number() const noexcept { return number_; }
    const std::wstring& description() const noexcept { return description_; }
    const char* what() const noexcept override { return "runtime failure"; }

  private:
    std::uint32_t number_;
    std::wstring description_;
};

}  // namespace sys
