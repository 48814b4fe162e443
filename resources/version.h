#pragma once

#define ZARVIK_VERSION_NUMBERS 1, 0, 0, 0
#define ZARVIK_VERSION_TEXT "1.0.0.0"
