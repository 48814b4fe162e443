#pragma once

// The process window as uidriver sees and works it: a control's description, commands to the
// driver, and ProcessHost.exe with its window up.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench.h"
#include "probe.h"

namespace harness {

// One control as uidriver and form_host describe it.
struct Shown {
    int id = 0;
    std::string windowClass;
    bool visible = false, enabled = false;
    int left = 0, top = 0, width = 0, height = 0, parent = 0;
    std::string face;
    int fontHeight = 0, weight = 0;
    bool underline = false;
    std::string check, text;
};

Shown Parse(const std::string& line);
std::map<int, Shown> ParseAll(const std::string& lines);

// Runs uidriver with the commands; every answer must be ok. Gives the last; `all` takes each.
ProbeAnswer Drive(const std::vector<ProbeCommand>& commands,
                  std::vector<ProbeAnswer>* all = nullptr);
// A control of the window, as uidriver describes it.
Shown ControlOf(const std::string& window, const std::string& id);

// ProcessHost.exe with its window up (shown and painted); closed at the end.
class HostedWindow {
  public:
    explicit HostedWindow(const std::vector<std::string>& arguments = {},
                          const Environment& extra = {});
    HostedWindow(const HostedWindow&) = delete;
    HostedWindow& operator=(const HostedWindow&) = delete;
    ~HostedWindow();
    const std::string& window() const { return window_; }
    // Closes the window; ProcessHost's exit code.
    int Close();

  private:
    std::unique_ptr<Child> child_;
    std::string window_;
};

}  // namespace harness
