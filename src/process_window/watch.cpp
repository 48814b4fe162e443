// Watching and killing the job that the process-creation route started.

#include "process_window/frm_process.h"
#include "system/constants.h"
#include "system/system.h"

namespace frm {

namespace {

constexpr std::uint32_t kPollMilliseconds = 1;

}  // namespace

void frmProcess::tmrRunning_Timer() {
    // 1. The running indicator blinks.
    Control& indicator = controls_[Id::lblStillRunning];
    indicator.SetVisible(!indicator.Visible());
    // 2. A glance at the job. After a kill its handles are closed: it counts as ended, and they
    //    are not waited on.
    bool running = false;
    if (state_.JobHandlesOpen) {
        state_.ApiResult = static_cast<std::int32_t>(
            sys::WaitForSingleObject(state_.JobProcess, kPollMilliseconds));
        // 3. Only a time-out means it still runs; an ended job and a failed wait end the watch.
        running = static_cast<std::uint32_t>(state_.ApiResult) == sys::kWaitTimeout;
    }
    // 4.
    if (!running) {
        EndOfJob();
    }
    // 5. In every tick: what is pending for the window is handled (a click on cmdKill, say).
    sys::HandlePendingMessages();
}

void frmProcess::EndOfJob() {
    // 1. The process handle, then the thread handle, unless a kill closed them.
    CloseJobHandles(false);
    // 2.
    Control& indicator = controls_[Id::lblStillRunning];
    indicator.SetCaption(L"Fertig");
    indicator.SetVisible(true);
    // 3. The interval stays 1000 ms.
    controls_[Id::tmrRunning].SetEnabled(false);
    // 4.
    controls_[Id::cmdCreateProcess].SetEnabled(true);
    controls_[Id::cmdShell].SetEnabled(true);
    controls_[Id::cmdKill].SetEnabled(false);
    controls_[Id::cmdDestroyByProcessID].SetEnabled(false);
    // 5.
    for (const Id value : {Id::lblProcess, Id::lblProcessID, Id::lblThread, Id::lblThreadID}) {
        controls_[value].SetCaption(L"");
    }
    // 6.
    state_.ProcessFinished = kTrue;
}

void frmProcess::cmdKill_Click() {
    // A second click before the next tick finds the handles closed, and does nothing.
    if (!state_.JobHandlesOpen) {
        return;
    }
    // 1. Exit code 0.
    state_.ApiResult = sys::TerminateProcess(state_.JobProcess, 0);
    // 2. The thread handle first, then the process handle. The next tick ends the watch.
    CloseJobHandles(true);
}

void frmProcess::CloseJobHandles(bool threadFirst) {
    if (!state_.JobHandlesOpen) {
        return;
    }
    state_.JobHandlesOpen = false;
    const sys::Handle first = threadFirst ? state_.JobThread : state_.JobProcess;
    const sys::Handle second = threadFirst ? state_.JobProcess : state_.JobThread;
    state_.ApiResult = sys::CloseHandle(first);
    state_.ApiResult = sys::CloseHandle(second);
}

}  // namespace frm
