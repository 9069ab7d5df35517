#include "addon/core/AddOnProtocol.h"

bool CAddOnProtocol::FindMainWindow()
{
    if (mainWindow != 0) {
        return true;
    }
    mainWindow = host.FindMainWindow();
    if (mainWindow == 0) {
        return false;
    }
    host.PostRunNotice(mainWindow, RunNotice::Attached);
    return true;
}

void CAddOnProtocol::Attach()
{
    host.StartTimer(kDisableQueryTimer, kDisableQueryPeriodMs);
    host.PostDisableQuery(mainWindow);
}

void CAddOnProtocol::Start()
{
    if (FindMainWindow()) {
        Attach();
    } else {
        host.StartTimer(kFindMainWindowTimer, kFindMainWindowPeriodMs);
    }
    host.StartTimer(kCleaningRunTimer, kCleaningRunPeriodMs);
}

bool CAddOnProtocol::TryAttach()
{
    if (FindMainWindow()) {
        connectAttempts = 0;
        host.StopTimer(kFindMainWindowTimer);
        Attach();
        return true;
    }
    if (++connectAttempts > kMaxConnectAttempts) {
        host.EndAddOn();
        return false;
    }
    return true;
}

void CAddOnProtocol::ForgetVanishedMainWindow()
{
    if (mainWindow == 0 || host.IsWindow(mainWindow)) {
        return;
    }
    mainWindow = 0;
    disabled = true;
    connectAttempts = 0;
    host.StopTimer(kDisableQueryTimer);
    host.StartTimer(kFindMainWindowTimer, kFindMainWindowPeriodMs);
}

void CAddOnProtocol::CleaningRun()
{
    ForgetVanishedMainWindow();
    if (disabled) {
        return;
    }
    host.PostRunNotice(mainWindow, RunNotice::CleaningRun);
    host.RunCleaners();
}

bool CAddOnProtocol::OnTimer(unsigned timerId)
{
    switch (timerId) {
    case kFindMainWindowTimer:
        return TryAttach();
    case kDisableQueryTimer:
        ForgetVanishedMainWindow();
        if (mainWindow != 0) {
            host.PostDisableQuery(mainWindow);
        }
        return true;
    case kCleaningRunTimer:
        CleaningRun();
        return true;
    default:
        return true;
    }
}

void CAddOnProtocol::OnMainProgramMessage(MainProgramMessage message, std::uintptr_t wParam, WindowId sender)
{
    // Without a main window every lParam would "match" a null handle.
    if (mainWindow == 0 || sender != mainWindow) {
        return;
    }
    switch (message) {
    case MainProgramMessage::Show:
        hidden = false;
        host.ShowOnTop();
        break;
    case MainProgramMessage::Disable:
        disabled = wParam != 0;
        break;
    case MainProgramMessage::Exit:
        host.EndAddOn();
        break;
    }
}

void CAddOnProtocol::OnDestroy()
{
    if (mainWindow != 0) {
        host.PostRunNotice(mainWindow, RunNotice::WindowDestroyed);
    }
}
