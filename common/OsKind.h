#pragma once

#include "platform/Version.h"

// Code of the detected Windows version. The numbering is not in release
// order (XP is 4, NT 4.0 is 5); other parts compare against these values.
constexpr int kOsUnknown = -1;
constexpr int kOsWindows95 = 1;
constexpr int kOsWindows98 = 2;
constexpr int kOsWindowsMe = 3;
constexpr int kOsWindowsXp = 4;
constexpr int kOsWindowsNt4 = 5;  // NT 4.0 and older
constexpr int kOsWindows2000 = 6;
constexpr int kOsWindowsServer2003 = 7;

// Maps platform id and version to the code; kOsUnknown for anything outside
// the table (NT 6.0 and later, 9x other than 4.0/4.10/4.90, Win32s).
int OsKindFromVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor);

// Asks with the extended record first and with the plain one when that
// fails; kOsUnknown when both fail.
int DetectOsKind(IVersionQuery& query);

// Codes 4 to 7: the NT family, where the Messenger service exists.
bool IsNtFamily(int osKind);

// Only NT 4.0 lacks the tool-help process functions and needs "PSAPI.DLL"
// and "VDMDBG.DLL" loaded at start-up.
bool NeedsProcessStatusLibraries(int osKind);
