// The main window of Tarnelix, "Tarnelix 3.0" from dialog template 102.
#pragma once
#include <windows.h>

#include "app/core/OsKind.h"
#include "platform/win32/Dialog.h"

namespace tarnelix {

class CTarnelixApp;

class CTarnelixDlg : public CDialog {
public:
    explicit CTarnelixDlg(CTarnelixApp& app);
    ~CTarnelixDlg() override;

    int osKind = kOsUnknown;
    // Loaded on NT 4.0 only, freed when the user exits.
    HMODULE psapiLibrary = nullptr;
    HMODULE vdmdbgLibrary = nullptr;

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void AppendAboutItem();
    void FreeProcessStatusLibraries();

    CTarnelixApp& app;
    HICON icon = nullptr;
};

}  // namespace tarnelix
