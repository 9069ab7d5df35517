#pragma once

#include <string>
#include <string_view>

// Names that every program of the system agrees on, and the program folder
// and application name that each program works out from its own path.

// The registry company key: HKCU\Software\Corvantine\<program>.
inline constexpr char kCompanyKey[] = "Corvantine";
// Each program's single-instance mutex: held while it runs, so that the
// start-up program can tell whether the files are in use.
inline constexpr char kMutexName[] = "Tarnelix Version 3";
inline constexpr char kAddOnMutexName[] = "Veilmark";
// The program files of the system, beside each other in the program folder.
inline constexpr char kMainProgramFile[] = "Tarnelix.exe";
inline constexpr char kAddOnProgramFile[] = "Veilmark-AddOn.exe";
// The hook library and the add-on find the main window by class and title.
inline constexpr char kMainWindowClass[] = "#32770";
inline constexpr char kMainWindowTitle[] = "Tarnelix 3.0";
// Buffer for the program path; one character less is asked for, so that the
// buffer stays terminated even where the system truncates without a NUL
// (Windows XP and 2000 do).
inline constexpr unsigned kProgramPathCapacity = 1024;

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
