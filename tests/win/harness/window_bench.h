#pragma once

namespace harness {

// Measures the process window's performance figures under Wine and prints them.
void MeasureProcessWindow();

}  // namespace harness
