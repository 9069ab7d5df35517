#include "ui/core/TrayState.h"

namespace tarnelix {
namespace {

// Windows 95 and NT 4.0 (version 4) brought the notification area.
constexpr unsigned kTrayMinimumSystemVersion = 4;

}  // namespace

bool TrayIconState::Create(unsigned systemVersionLowByte, bool hidden, bool newShell, ITrayShell& shell)
{
    if (systemVersionLowByte < kTrayMinimumSystemVersion) {
        traySupported = false;
        return false;
    }
    traySupported = true;
    iconHidden = hidden;
    if (hidden && !newShell) {
        return true;
    }
    const bool added = shell.Add(kTrayCreationFlags);
    iconRemoved = !added;
    iconHidden = !added;
    reAddPending = !added;
    return added;
}

bool TrayIconState::Delete(ITrayShell& shell)
{
    reAddPending = false;
    if (!traySupported || iconRemoved) {
        return true;
    }
    if (shell.Delete(0)) {
        iconRemoved = true;
        iconHidden = true;
    }
    return iconRemoved;
}

void TrayIconState::OnTaskbarCreated(ITrayShell& shell)
{
    reAddPending = true;
    AddAgain(shell);
}

void TrayIconState::OnWorkAreaChanged(ITrayShell& shell)
{
    reAddPending = !iconHidden;
    AddAgain(shell);
}

void TrayIconState::AddAgain(ITrayShell& shell)
{
    if (iconHidden) {
        return;
    }
    // After a work-area change the shell still holds the icon and refuses
    // a second add. Taking that refusal for a lost icon would mark it
    // hidden for good, and after the next taskbar restart a hidden main
    // window could no longer be reached: an icon that can still be
    // modified is there, and counts as shown.
    const bool shown = shell.Add(kTrayCreationFlags) || shell.Modify(kTrayCreationFlags);
    iconHidden = !shown;
    reAddPending = !shown;
}

TrayIconAction ClassifyIconEvent(unsigned ourIconId, unsigned iconId, unsigned mouseMessage)
{
    if (iconId != ourIconId) {
        return TrayIconAction::NotOurs;
    }
    if (mouseMessage == kTrayMouseRightButtonUp) {
        return TrayIconAction::OpenMenu;
    }
    if (mouseMessage == kTrayMouseLeftDoubleClick) {
        return TrayIconAction::RunDefaultCommand;
    }
    return TrayIconAction::Ignore;
}

TrayMenuState PrepareMenuState(int disableSetting, bool addOnRunning)
{
    TrayMenuState state;
    state.disableChecked = disableSetting != 0;
    state.veilmarkEnabled = addOnRunning;
    return state;
}

}  // namespace tarnelix
