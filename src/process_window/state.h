#pragma once

// The state record of frmProcess, besides its controls; every field zero, null or empty at
// creation.

#include <cstdint>
#include <string>

#include "process_window/variant.h"
#include "system/types.h"

namespace frm {

struct State {
    std::wstring Cmdline;             // public: the command line of the job to start
    VbBool ProcessFinished = kFalse;  // public: True once the watched job has ended
    sys::Handle JobProcess = 0;
    sys::Handle JobThread = 0;
    sys::ProcessId JobProcessID = 0;
    sys::ThreadId JobThreadID = 0;
    std::int32_t ApiResult = 0;  // the result of the last system call the window stored
    sys::ProcessInformation ProcInfo{};
    sys::StartupInfo StartInfo{};
    std::wstring AppName;  // never assigned: the process-creation call's null name and folder
    // Whether JobProcess and JobThread are open: from a successful process-creation start until
    // the end of the job or a kill closes them. Once closed they are neither waited on,
    // terminated nor closed again.
    bool JobHandlesOpen = false;
};

}  // namespace frm
