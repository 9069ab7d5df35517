#pragma once

namespace tarnelix {

// The tray icon (CSystemTray): the flags that decide when the icon is
// added, removed and added again, and what a mouse event on it means.

// Values of the icon record's flags, equal to the platform's NIF_MESSAGE,
// NIF_ICON and NIF_TIP.
inline constexpr unsigned kTrayFlagMessage = 0x1;
inline constexpr unsigned kTrayFlagIcon = 0x2;
inline constexpr unsigned kTrayFlagTip = 0x4;
inline constexpr unsigned kTrayCreationFlags = kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip;

inline constexpr unsigned kTrayDefaultMenuPosition = 0;  // counted by position
// The tooltip is cut to what the icon record holds.
inline constexpr unsigned kTrayTooltipMaxChars = 127;

// The notification area's side of Shell_NotifyIcon. Each call carries the
// icon record's flags. Like the real shell, a shell may refuse to add an
// icon it already holds.
class ITrayShell {
public:
    virtual ~ITrayShell() = default;
    virtual bool Add(unsigned flags) = 0;
    virtual bool Modify(unsigned flags) = 0;
    virtual bool Delete(unsigned flags) = 0;
};

class TrayIconState {
public:
    // No notification area below system version 4: false, no icon. Otherwise
    // the icon is added unless it is to start hidden on an old shell, and the
    // result is the add's (true when nothing had to be added).
    bool Create(unsigned systemVersionLowByte, bool hidden, bool newShell, ITrayShell& shell);
    // Clears the record's flags and removes the icon. True when the icon is
    // gone afterwards (also when there was none).
    bool Delete(ITrayShell& shell);
    // The taskbar restarted and forgot the icon. A hidden icon (including
    // one whose add failed) is not tried again.
    void OnTaskbarCreated(ITrayShell& shell);
    // SPI_SETWORKAREA: the same re-add, pending only while shown.
    void OnWorkAreaChanged(ITrayShell& shell);

    bool TraySupported() const { return traySupported; }
    bool IconHidden() const { return iconHidden; }
    bool IconRemoved() const { return iconRemoved; }
    bool ReAddPending() const { return reAddPending; }

private:
    void AddAgain(ITrayShell& shell);

    bool traySupported = false;
    bool iconHidden = true;
    bool iconRemoved = true;
    bool reAddPending = false;
};

// Mouse messages on the icon, with the platform's values.
inline constexpr unsigned kTrayMouseRightButtonUp = 0x0205;     // WM_RBUTTONUP
inline constexpr unsigned kTrayMouseLeftDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK

enum class TrayIconAction {
    NotOurs,            // another icon's notification: not handled
    Ignore,             // handled, nothing to do (a single left click)
    OpenMenu,           // right button released
    RunDefaultCommand,  // left double click: "Show Options"
};

TrayIconAction ClassifyIconEvent(unsigned ourIconId, unsigned iconId, unsigned mouseMessage);

struct TrayMenuState {
    bool disableChecked = false;   // item 32774
    bool veilmarkEnabled = false;  // item 32775, grayed otherwise
};

// PrepareMenu: "Disable" is checked for any setting other than 0.
TrayMenuState PrepareMenuState(int disableSetting, bool addOnRunning);

}  // namespace tarnelix
