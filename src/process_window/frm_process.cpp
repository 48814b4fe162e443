#include "process_window/frm_process.h"

namespace frm {

frmProcess::frmProcess(ControlMirror* mirror) : controls_(mirror) {}

}  // namespace frm
