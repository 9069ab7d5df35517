// TarnelixCtrl.exe, the start-up program named by the Run entry.
#include <windows.h>

#include "common/ProgramIdentity.h"
#include "ctrl/UpdateKey.h"
#include "ctrl/core/StartupControl.h"
#include "ctrl/win32/CngVerifier.h"
#include "ctrl/win32/Win32StartupSystem.h"
#include "platform/win32/Win32Files.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[kProgramPathCapacity] = {};
    GetModuleFileNameA(nullptr, path, kProgramPathCapacity - 1);
    const std::string programFolder = ProgramFolderFromPath(path);

    Win32FileStore files;
    Win32Folders folders;
    Win32FolderListing listing;
    CngVerifier verifier(kUpdatePublicKey);
    CUpdateInstaller installer(files, folders, listing, verifier);
    Win32StartupSystem system(programFolder);
    RunAtLogOn(installer, system, files, programFolder);
    return 0;
}
