// The main window's side of the adware scanner and the two system guards:
// each reads the advanced page's boxes as they stand and hands over to the
// portable core.
#include "app/TarnelixDlg.h"

#include "common/TarnelixResource.h"

namespace tarnelix {

void CTarnelixDlg::CreateMessengerGuard() {
    // The service manager outlives the window with the guard: a worker may
    // still be polling when the user exits.
    const HWND window = hwnd;
    messenger = std::make_shared<CMessengerGuard>(std::make_shared<Win32ServiceManager>(), workerThreads, [window] {
        // The window runs ApplyDisableState and so starts or stops timer 50.
        PostMessageA(window, WM_COMMAND, IDC_DISABLE, 0);
    });
}

void CTarnelixDlg::GuardHomePage() {
    ::GuardHomePage(advancedPage.IsPreventHomePageChecked(), browserKey, advanceModel.GetProtectedStartPage());
}

void CTarnelixDlg::ScanAdware() {
    scanner.ScanAdware(osKind);
}

void CTarnelixDlg::StopMessengerService() {
    if (messenger != nullptr) {
        messenger->StopMessengerService(osKind, advancedPage.IsBlockMessengerChecked());
    }
}

void CTarnelixDlg::RestoreMessengerService() {
    if (messenger != nullptr) {
        messenger->RestoreMessengerService(osKind, advancedPage.IsBlockMessengerChecked());
    }
}

}  // namespace tarnelix
