// Which messages other programs may send to Tarnelix's windows when it runs
// elevated, as it must to write the HKLM Run entry. From Windows Vista on,
// an elevated program receives no registered message from ordinary
// processes (the hook library in the browsers, the add-on, the shell) unless
// its window lets that message through its filter. Exactly these go through.
#pragma once

#include "common/Messages.h"

// The main window: the hook library's two reports, the add-on's query and
// run notes, and the installed-updates note. WM_TARNELIX_EXIT and
// WM_TARNELIX_SHOW_PRIVACY_ADDON only ever come from the main window itself.
inline constexpr const char* kMainWindowIncomingMessages[] = {
    kNewWindowCreatedMessage, kKillPopupWindowMessage, kDisableMessage, kPrivacyAddOnRunMessage,
    kInstalledUpdatesMessage,
};

// The tray icon's window: the shell's announcement that it has (re)started.
inline constexpr char kTaskbarCreatedMessage[] = "TaskbarCreated";
inline constexpr const char* kTrayIncomingMessages[] = {kTaskbarCreatedMessage};

