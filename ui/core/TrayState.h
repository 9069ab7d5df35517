#pragma once

#include <functional>

namespace tarnelix {

// The tray icon (CSystemTray): the flags that decide when the icon is
// added, removed and added again. The window passes the Shell_NotifyIcon
// call in as a callback, so the flags follow the call's real result; the
// callback reads RecordFlags() to fill the icon record's flags.

// Values of the icon record's flags, equal to the platform's NIF_MESSAGE,
// NIF_ICON and NIF_TIP.
inline constexpr unsigned kTrayFlagMessage = 0x1;
inline constexpr unsigned kTrayFlagIcon = 0x2;
inline constexpr unsigned kTrayFlagTip = 0x4;
inline constexpr unsigned kTrayCreationFlags = kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip;

inline constexpr unsigned kTrayIconId = 142;
inline constexpr int kTrayMenuResourceId = 142;
inline constexpr int kTrayIconResourceId = 178;
inline constexpr int kTrayDefaultMenuPosition = 0;  // counted by position
// The tooltip is cut to what the icon record holds.
inline constexpr unsigned kTrayTooltipMaxChars = 127;
// Windows 95 and NT 4.0 (version 4) brought the notification area.
inline constexpr unsigned kTrayMinimumSystemVersion = 4;

// Menu 142's commands.
inline constexpr unsigned kTrayCommandShowOptions = 32773;
inline constexpr unsigned kTrayCommandHelp = 57670;
inline constexpr unsigned kTrayCommandAbout = 57664;
inline constexpr unsigned kTrayCommandDisable = 32774;
inline constexpr unsigned kTrayCommandExit = 57665;
inline constexpr unsigned kTrayCommandVeilmark = 32775;

class TrayIconState {
public:
    // No notification area below system version 4: false, no icon. Otherwise
    // the icon is added unless it is to start hidden on an old shell, and the
    // result is the add's (true when nothing had to be added).
    bool Create(unsigned systemVersionLowByte, bool hidden, bool newShell, const std::function<bool()>& add);
    // True when the icon is gone afterwards (also when there was none).
    bool Delete(const std::function<bool()>& remove);
    // The taskbar restarted and forgot the icon. A hidden icon (including
    // one whose add failed) is not tried again.
    void OnTaskbarCreated(const std::function<bool()>& add);
    // SPI_SETWORKAREA: the same re-add, pending only while shown.
    void OnWorkAreaChanged(const std::function<bool()>& add);

    bool TraySupported() const { return traySupported; }
    bool IconHidden() const { return iconHidden; }
    bool IconRemoved() const { return iconRemoved; }
    bool ReAddPending() const { return reAddPending; }
    unsigned CreationFlags() const { return creationFlags; }
    // What the icon record's flags hold now: the creation flags, or 0
    // after a delete until the icon is added again.
    unsigned RecordFlags() const { return recordFlags; }

private:
    void AddAgain(const std::function<bool()>& add);

    bool traySupported = false;
    bool iconHidden = true;
    bool iconRemoved = true;
    bool reAddPending = false;
    unsigned creationFlags = 0;
    unsigned recordFlags = 0;
};

// Mouse messages on the icon, with the platform's values.
inline constexpr unsigned kTrayMouseRightButtonUp = 0x0205;     // WM_RBUTTONUP
inline constexpr unsigned kTrayMouseLeftDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK

enum class TrayIconAction {
    Ignore,
    OpenMenu,           // right button released
    RunDefaultCommand,  // left double click: "Show Options"
};

// Another icon's notification is not ours; a single left click does nothing.
TrayIconAction ClassifyIconEvent(unsigned iconId, unsigned mouseMessage);

struct TrayMenuState {
    bool disableChecked = false;   // item 32774
    bool veilmarkEnabled = false;  // item 32775, grayed otherwise
};

// PrepareMenu: "Disable" is checked for any setting other than 0.
TrayMenuState PrepareMenuState(int disableSetting, bool addOnRunning);

}  // namespace tarnelix
