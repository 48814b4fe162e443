#include "startup/main.h"

namespace startup {

void Main() {}

}  // namespace startup
