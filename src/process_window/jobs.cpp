// Starting a job: by the system's process-creation call, watched afterwards, or by the shell
// call, which gives only the new process's id.

#include "process_window/frm_process.h"
#include "system/constants.h"
#include "system/decimal_text.h"
#include "system/system.h"

namespace frm {

namespace {

// A text that was never assigned goes to the system as a null pointer.
std::optional<std::wstring> NullIfUnassigned(const std::wstring& text) {
    return text.empty() ? std::nullopt : std::optional(text);
}

constexpr std::int32_t kWatchInterval = 1000;  // ms

}  // namespace

std::wstring frmProcess::CommandLineThroughTextBox() {
    // Cmdline goes into txtStart, and what txtStart holds is the command line from here on.
    Control& text = controls_[Id::txtStart];
    text.SetCaption(state_.Cmdline);
    return text.Caption();
}

void frmProcess::cmdCreateProcess_Click() {
    CreateThisProcess();
}

void frmProcess::CreateThisProcess() {
    // 1.
    state_.ProcessFinished = kFalse;
    // 2.
    const std::wstring commandLine = CommandLineThroughTextBox();
    if (commandLine.empty()) {
        return;
    }
    // A start while an earlier job is still watched (only the public operations allow it): that
    // job runs on unwatched, and its handles are closed first, so that none is lost.
    CloseJobHandles(false);
    // 3. Only the record's size is set; the job chooses its own window position and state.
    state_.StartInfo.cb = sizeof(sys::StartupInfo);
    // 4. Inheritable handles passed on, normal priority, this program's environment and folder.
    state_.ApiResult = sys::CreateProcessA(
        NullIfUnassigned(state_.AppName), commandLine, 1, sys::kNormalPriorityClass,
        NullIfUnassigned(state_.AppName), state_.StartInfo, state_.ProcInfo);
    // 5.
    if (state_.ApiResult == 0) {
        sys::ShowMessageBox(L"Prozess konnte nicht gestartet werden : " + commandLine, sys::kMbOk);
        state_.ProcessFinished = kTrue;
        return;
    }
    // 6.1
    controls_[Id::lblStillRunning].SetCaption(L"Ausf\u00fchrung l\u00e4uft ....");
    // 6.2
    controls_[Id::cmdCreateProcess].SetEnabled(false);
    controls_[Id::cmdShell].SetEnabled(false);
    controls_[Id::cmdKill].SetEnabled(true);
    controls_[Id::cmdDestroyByProcessID].SetEnabled(true);
    // 6.3
    state_.JobProcessID = state_.ProcInfo.dwProcessId;
    state_.JobThreadID = state_.ProcInfo.dwThreadId;
    state_.JobProcess = state_.ProcInfo.hProcess;
    state_.JobThread = state_.ProcInfo.hThread;
    state_.JobHandlesOpen = true;
    // 6.4 The handle values, not the ids, in the first two.
    controls_[Id::lblProcess].SetCaption(sys::DecimalText(state_.JobProcess));
    controls_[Id::lblThread].SetCaption(sys::DecimalText(state_.JobThread));
    controls_[Id::lblThreadID].SetCaption(sys::DecimalText(state_.JobThreadID));
    controls_[Id::lblProcessID].SetCaption(sys::DecimalText(state_.JobProcessID));
    // 6.5 At once, before the job has had time to show a window.
    EmbedJobWindow();
    // 6.6 From its first tick on, the job is watched.
    controls_[Id::tmrRunning].SetInterval(kWatchInterval);
    controls_[Id::tmrRunning].SetEnabled(true);
}

void frmProcess::cmdShell_Click() {
    StartViaShell();
}

void frmProcess::StartViaShell() {
    // 1. A failure in any later step, inside EmbedJobWindow too, skips the rest and is reported.
    try {
        // 2.
        state_.ProcessFinished = kFalse;
        // 3.
        const std::wstring commandLine = CommandLineThroughTextBox();
        if (commandLine.empty()) {
            return;
        }
        // 4. Hidden, the focus passed to it; the system splits the command line.
        state_.JobProcessID = sys::StartCommandLine(commandLine, sys::WindowStyle::Hidden);
        // 5.
        controls_[Id::lblStillRunning].SetCaption(L"");
        // 6.
        controls_[Id::lblProcess].SetCaption(L"-");
        controls_[Id::lblThread].SetCaption(L"-");
        controls_[Id::lblThreadID].SetCaption(L"-");
        // 7.
        controls_[Id::lblProcessID].SetCaption(sys::DecimalText(state_.JobProcessID));
        // 8.
        EmbedJobWindow();
    } catch (const sys::Failure& failure) {
        // The failure handler: the message, then a normal return.
        sys::ShowMessageBox(L"Fehler aufgetreten : " + controls_[Id::txtStart].Caption() +
                                L"\n\nError " + sys::DecimalText(failure.number()) + L" " +
                                failure.description(),
                            sys::kMbOk);
    }
}

}  // namespace frm
