#include "ui/core/TrayState.h"

namespace tarnelix {

bool TrayIconState::Create(unsigned systemVersionLowByte, bool hidden, bool newShell,
                           const std::function<bool()>& add)
{
    if (systemVersionLowByte < kTrayMinimumSystemVersion) {
        traySupported = false;
        return false;
    }
    traySupported = true;
    creationFlags = kTrayCreationFlags;
    recordFlags = creationFlags;
    iconHidden = hidden;
    if (hidden && !newShell) {
        return true;
    }
    const bool added = add();
    iconRemoved = !added;
    iconHidden = !added;
    reAddPending = !added;
    return added;
}

bool TrayIconState::Delete(const std::function<bool()>& remove)
{
    reAddPending = false;
    if (!traySupported || iconRemoved) {
        return true;
    }
    recordFlags = 0;
    if (remove()) {
        iconRemoved = true;
        iconHidden = true;
    }
    return iconRemoved;
}

void TrayIconState::OnTaskbarCreated(const std::function<bool()>& add)
{
    reAddPending = true;
    AddAgain(add);
}

void TrayIconState::OnWorkAreaChanged(const std::function<bool()>& add)
{
    reAddPending = !iconHidden;
    AddAgain(add);
}

void TrayIconState::AddAgain(const std::function<bool()>& add)
{
    if (iconHidden) {
        return;
    }
    recordFlags = creationFlags;
    const bool added = add();
    iconHidden = !added;
    reAddPending = !added;
}

TrayIconAction ClassifyIconEvent(unsigned iconId, unsigned mouseMessage)
{
    if (iconId != kTrayIconId) {
        return TrayIconAction::Ignore;
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
