#pragma once

// The simulated system: an in-memory Windows for the native tests. It implements the seam
// (src/system/system.h) in parts, as the real system is built: the desktop; processes, handles
// and the clock; files; settings and the shell. Its bindings (bindings/, one file per DLL and one
// for the runtime facilities) record every call as a structured record in World::log.
//
// A test sets the world up through sim::World and its parts, runs the logic, and compares the
// records and the state. Misuse that a real system would punish (closing a handle twice, waiting
// on a closed handle, freeing an item-id list that is not allocated) is recorded in
// World::errors; a wait that could never end throws sim::Hang.

#include "record.h"
#include "system/system.h"
#include "text.h"
#include "world.h"
