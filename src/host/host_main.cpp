// ProcessHost.exe: opens frmProcess, maximized as it always opens, for people and for automation,
// and runs the message loop until the window is destroyed. With --create or --shell it then hands
// the rest of its command line to the window as Cmdline and starts it by CreateThisProcess or
// StartViaShell. Its exit code is 1 when ProcessFinished is True at the end, else 0 (2 for a
// command line it does not understand).

#include "host/command_line.h"
#include "process_window/windows/form_window.h"
#include "system/system.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto command = host::ParseCommandLine(GetCommandLineW());
    if (!command) {
        MessageBoxW(nullptr, host::kUsage, L"ZARVIK Prozesssteuerung", MB_OK | MB_ICONERROR);
        return 2;
    }
    frm::frmProcess form;
    try {
        frm::win::FormWindow window(form, [] { PostQuitMessage(0); });
        window.Show();
        if (command->start != host::Start::None) {
            form.Cmdline(command->commandLine);
            if (command->start == host::Start::Create) {
                form.CreateThisProcess();
            } else {
                form.StartViaShell();
            }
        }
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    } catch (const sys::Failure& failure) {
        sys::ReportUnhandledFailure(failure);
    }
    return form.ProcessFinished() == frm::kTrue ? 1 : 0;
}
