#pragma once

#include <string>
#include <string_view>

#include "common/ProgramIdentity.h"
#include "platform/Settings.h"

// Fixed names and texts of the main program's start-up.
inline constexpr char kAlreadyRunningMessage[] = "Tarnelix application is already running!";
inline constexpr char kPsapiLibrary[] = "PSAPI.DLL";
inline constexpr char kPsapiLoadFailedMessage[] = "Unable to load PSAPI.Dll";
inline constexpr char kVdmdbgLibrary[] = "VDMDBG.DLL";
// The library is VDMDBG; the message has always read "VDBMDBG" and is kept
// as users and tests know it.
inline constexpr char kVdmdbgLoadFailedMessage[] = "Unable to load VDBMDBG.Dll";
inline constexpr char kLibraryLoadFailedCaption[] = "Error";
inline constexpr char kTrayTooltip[] = "Tarnelix 3.0";
// The application message base (0x8000) plus 10.
inline constexpr unsigned kTrayCallbackMessage = 0x800A;

// Folders below the program folder that a clean registry starts with.
inline constexpr char kDefaultSkinSubfolder[] = "Skin\\Default\\";
inline constexpr char kDefaultSoundSubfolder[] = "Sound\\Default\\";
inline constexpr char kDefaultNotificationsSubfolder[] = "Notifications\\Default\\";

struct AppFolders {
    std::string skin;
    std::string sound;
    std::string notifications;
};

// Reads "SkinDir", "SoundDir" and "NotificationsDir" from "Settings". An
// empty value becomes program folder + "Skin\Default\" (or "Sound\Default\",
// "Notifications\Default\") and is written back; a stored value is used as it
// stands. With no program folder known the defaults would be relative paths,
// so they are used for this run but not written.
AppFolders SettleFolders(ISettings& settings, const std::string& programFolder);
