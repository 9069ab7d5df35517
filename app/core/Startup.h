#pragma once

#include <string>
#include <string_view>

#include "platform/Settings.h"

// Fixed names and texts of the main program's start-up.
inline constexpr char kCompanyKey[] = "Corvantine";
inline constexpr char kMutexName[] = "Tarnelix Version 3";
inline constexpr char kAlreadyRunningMessage[] = "Tarnelix application is already running!";
inline constexpr char kPsapiLibrary[] = "PSAPI.DLL";
inline constexpr char kPsapiLoadFailedMessage[] = "Unable to load PSAPI.Dll";
inline constexpr char kVdmdbgLibrary[] = "VDMDBG.DLL";
// The library is VDMDBG; the message has always read "VDBMDBG" and is kept
// as users and tests know it.
inline constexpr char kVdmdbgLoadFailedMessage[] = "Unable to load VDBMDBG.Dll";
inline constexpr char kLibraryLoadFailedCaption[] = "Error";
// The hook library and the add-on find the main window by class and title.
inline constexpr char kMainWindowClass[] = "#32770";
inline constexpr char kMainWindowTitle[] = "Tarnelix 3.0";
inline constexpr char kTrayTooltip[] = "Tarnelix 3.0";
// The application message base (0x8000) plus 10.
inline constexpr unsigned kTrayCallbackMessage = 0x800A;
// Buffer for the program path; one character less is asked for, so that the
// buffer stays terminated even where the system truncates without a NUL
// (Windows XP and 2000 do).
inline constexpr unsigned kProgramPathCapacity = 1024;

// Folders below the program folder that a clean registry starts with.
inline constexpr char kDefaultSkinSubfolder[] = "Skin\\Default\\";
inline constexpr char kDefaultSoundSubfolder[] = "Sound\\Default\\";
inline constexpr char kDefaultNotificationsSubfolder[] = "Notifications\\Default\\";

// Drive and directory of a full program path, ending in its last separator
// ('\' or '/', as written): "C:\Tools\Tarnelix.exe" gives "C:\Tools\", a UNC
// path "\\srv\share\Tarnelix.exe" gives "\\srv\share\". A path without any
// directory ("Tarnelix.exe", "C:Tarnelix.exe") or an empty path names no
// folder and gives "".
std::string ProgramFolderFromPath(std::string_view programPath);

// File name without directory and extension: the application name under
// which the program keeps its settings ("C:\Tools\Veilmark-AddOn.exe" gives
// "Veilmark-AddOn"). Only the last extension goes ("a.b.exe" gives "a.b").
std::string ApplicationNameFromPath(std::string_view programPath);

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
