// Veilmark-AddOn.exe: the privacy add-on's start-up. One instance at a
// time; its settings live under HKCU\Software\Corvantine\<program name>.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "addon/PrivacyDlg.h"
#include "common/ProgramIdentity.h"
#include "common/PendingSettings.h"
#include "platform/win32/SingleInstance.h"
#include "platform/win32/Win32Profile.h"

namespace tarnelix {
namespace {

constexpr char kMutexName[] = "Veilmark";
constexpr char kAlreadyRunningMessage[] = "Veilmark-AddOn is already running!";

class CPrivacyApp {
public:
    CPrivacyApp() {
        char path[kProgramPathCapacity] = {};
        GetModuleFileNameA(nullptr, path, kProgramPathCapacity - 1);
        applicationName = ApplicationNameFromPath(path);
    }

    // The add-on's whole life; it ends with the window's modal run.
    bool InitInstance() {
        HANDLE mutex = nullptr;
        if (!ClaimSingleInstance(kMutexName, mutex)) {
            MessageBoxA(nullptr, kAlreadyRunningMessage, applicationName.c_str(), MB_OK);
            return false;
        }
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        // The browser history step creates the URL history object, which
        // needs the component system on this thread.
        const bool com = SUCCEEDED(CoInitialize(nullptr));
        Win32Profile profile(kCompanyKey, applicationName);
        PendingSettings settings(profile);
        {
            CPrivacyDlg dlg(settings);
            dlg.DoModal();
        }
        if (com) {
            CoUninitialize();
        }
        if (mutex != nullptr) {
            CloseHandle(mutex);
        }
        return false;
    }

private:
    std::string applicationName;
};

}  // namespace
}  // namespace tarnelix

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tarnelix::CPrivacyApp app;
    app.InitInstance();
    return 0;
}
