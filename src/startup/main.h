#pragma once

namespace startup {

// The program's start-up procedure and only entry.
void Main();

}  // namespace startup
