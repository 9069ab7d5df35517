#pragma once

#include <string>
#include <string_view>

#include "platform/Settings.h"

// The registry values of the main program, below
// HKEY_CURRENT_USER\Software\Corvantine\Tarnelix\. Check boxes are integers
// 0 or 1, stored as the check box reports its state; the lifetime counters
// are decimal text; time stamps are local time in kTimeStampFormat.

inline constexpr char kSettingsSection[] = "Settings";
inline constexpr char kNotificationsSection[] = "Notifications";
// Besides "Checked For Updates" it holds one text value per downloaded file,
// named by the file name, with the listing date of that file.
inline constexpr char kUpdatesSection[] = "Updates";

inline constexpr char kTimeStampFormat[] = "%Y-%m-%d %H:%M:%S";
inline constexpr char kDefaultSoundFileName[] = "sound1.wav";

struct IntSetting {
    const char* section;
    const char* entry;
    int defaultValue;
};

// Text values default to empty, except where a function below gives the
// default ("SkinDir" and its siblings: SettleFolders; "SoundFile":
// DefaultSoundFile).
struct TextSetting {
    const char* section;
    const char* entry;
};

// "Settings": folders (settled at start-up).
inline constexpr TextSetting kSkinDirSetting{kSettingsSection, "SkinDir"};
inline constexpr TextSetting kSoundDirSetting{kSettingsSection, "SoundDir"};
inline constexpr TextSetting kNotificationsDirSetting{kSettingsSection, "NotificationsDir"};

// "Settings": check boxes of the main window (1043 to 1048).
inline constexpr IntSetting kWindowsStartsSetting{kSettingsSection, "WindowsStarts", 1};
inline constexpr IntSetting kNoDisplayStartupSetting{kSettingsSection, "NoDisplayStartup", 1};
inline constexpr IntSetting kPlaySoundSetting{kSettingsSection, "PlaySound", 1};
inline constexpr IntSetting kNotificationSetting{kSettingsSection, "Notification", 1};
inline constexpr IntSetting kAutoBlockSetting{kSettingsSection, "AutoBlock", 1};
inline constexpr IntSetting kDisableSetting{kSettingsSection, "Disable", 0};

// "Settings": kill sound.
inline constexpr TextSetting kSoundFileSetting{kSettingsSection, "SoundFile"};
inline constexpr IntSetting kSoundIndexSetting{kSettingsSection, "SoundIndex", 0};

// "Settings": lifetime counters, decimal text; empty or malformed reads as 0.
inline constexpr TextSetting kPopupCounterSetting{kSettingsSection, "PopupCounter"};
inline constexpr TextSetting kAdwareCounterSetting{kSettingsSection, "AdwareCounter"};
inline constexpr TextSetting kVeilmarkCounterSetting{kSettingsSection, "VeilmarkCounter"};

// "Settings": check boxes of the Advanced page (1017 to 1019).
inline constexpr IntSetting kPreventHomePageChangeSetting{kSettingsSection, "PreventHomePageChange", 0};
inline constexpr IntSetting kBlockMessengerSetting{kSettingsSection, "BlockMessenger", 1};
inline constexpr IntSetting kDisableIEScriptDebuggerSetting{kSettingsSection, "DisableIEScriptDebugger", 1};
// "Settings": the watcher of today's browsers (Advanced page, 1020).
inline constexpr IntSetting kWatchModernBrowsersSetting{kSettingsSection, "WatchModernBrowsers", 1};

// "Settings": the address of the update server's listing; when empty (the
// usual case) the built-in address is used.
inline constexpr TextSetting kUpdateListingUrlSetting{kSettingsSection, "UpdateListingUrl"};

// "Notifications": when each timed notice was last shown.
inline constexpr TextSetting kLastShowStartUpSetting{kNotificationsSection, "LastShowStartUp"};
inline constexpr TextSetting kLastCheckUpdatesSetting{kNotificationsSection, "LastCheckUpdates"};
inline constexpr TextSetting kLastShowDownloadUpdatesSetting{kNotificationsSection, "LastShowDownloadUpdates"};
inline constexpr TextSetting kLastShowInstallUpdatesSetting{kNotificationsSection, "LastShowInstallUpdates"};
inline constexpr TextSetting kLastShowVeilmarkSetting{kNotificationsSection, "LastShowVeilmark"};

// "Updates".
inline constexpr IntSetting kCheckedForUpdatesSetting{kUpdatesSection, "Checked For Updates", 0};

int ReadSetting(const ISettings& settings, const IntSetting& setting);
bool WriteSetting(ISettings& settings, const IntSetting& setting, int value);
std::string ReadSetting(const ISettings& settings, const TextSetting& setting,
                        const std::string& defaultValue = std::string());
bool WriteSetting(ISettings& settings, const TextSetting& setting, const std::string& value);

// sound folder + "sound1.wav": the kill sound of a clean registry.
std::string DefaultSoundFile(const std::string& soundFolder);

// The plain text-to-integer conversion the counters are read with: leading
// white space, an optional sign and the decimal digits up to the first other
// character ("12abc" is 12). Text without digits is 0 ("", "abc", "-").
// Digits beyond the range of a 32-bit int give its limit ("99999999999" is
// 2147483647, "-99999999999" is -2147483648), so a huge value never wraps
// round to a small or negative count.
int ParseCounterText(std::string_view text);

int ReadCounter(const ISettings& settings, const TextSetting& counter);
// Stores the count as decimal text ("-5" for negative values).
bool WriteCounter(ISettings& settings, const TextSetting& counter, int value);
