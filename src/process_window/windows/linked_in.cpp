// Setup.exe holds the process window compiled in, though nothing in it opens the window. The
// linker keeps this entry, and with it the window's code, because Setup.exe's link names it as
// a symbol to keep (-u).

#include "process_window/windows/form_window.h"

namespace {

void OpenProcessWindow(frm::frmProcess& form) {
    frm::win::FormWindow window(form, nullptr);
    window.Show();
}

}  // namespace

extern "C" {
extern void (*const ZarvikProcessWindow)(frm::frmProcess&);
void (*const ZarvikProcessWindow)(frm::frmProcess&) = OpenProcessWindow;
}
