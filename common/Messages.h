// Names of the registered window messages between Tarnelix, Wendle.dll and
// Veilmark-AddOn.exe. Every process registers the same names, so the numbers
// agree everywhere.
#pragma once

inline constexpr char kNewWindowCreatedMessage[] = "WM_TARNELIX_NEW_WINDOW_CREATED";
inline constexpr char kKillPopupWindowMessage[] = "WM_TARNELIX_KILL_POPUP_WINDOW";
inline constexpr char kDisableMessage[] = "WM_TARNELIX_DISABLE";
inline constexpr char kExitMessage[] = "WM_TARNELIX_EXIT";
inline constexpr char kShowPrivacyAddOnMessage[] = "WM_TARNELIX_SHOW_PRIVACY_ADDON";
inline constexpr char kPrivacyAddOnRunMessage[] = "WM_TARNELIX_PRIVACY_ADDON_RUN";
inline constexpr char kInstalledUpdatesMessage[] = "WM_TARNELIX_INSTALLED_UPDATES";
