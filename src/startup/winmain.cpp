// Entry of Setup.exe. The program reads no command line and opens no window: it runs its start-up
// sequence and ends when that returns.

#include "startup/main.h"
#include "system/windows/win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    startup::Main();
    return 0;
}
