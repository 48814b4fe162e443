#pragma once

// The resources of the process window, in every executable that holds it.
#define ZARVIK_WINDOW_ICON 1
#define ZARVIK_WINDOW_PICTURE 2
