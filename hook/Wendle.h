// Wendle.dll: the system-wide window, mouse and keyboard hooks of Tarnelix.
// The main program calls Initialise once at start-up and Shutdown at exit.
#pragma once

#ifdef WENDLE_BUILDING_DLL
#define WENDLE_API extern "C" __declspec(dllexport)
#else
#define WENDLE_API extern "C" __declspec(dllimport)
#endif

// Installs the call-window-procedure, mouse and keyboard hooks for the whole
// desktop. Does nothing when they are already installed in this process; on
// failure shows the system's error text.
WENDLE_API void Initialise(void);

// Removes the hooks installed by Initialise in this process.
WENDLE_API void Shutdown(void);

// A click or Enter in the shell, seen from outside the shell's process (by
// Wendle32Host.exe): counts as the same action inside the shell would.
WENDLE_API void NoteShellAction(void);
