#include "app/TarnelixDlg.h"

#include "app/TarnelixApp.h"
#include "app/resource.h"

namespace tarnelix {
namespace {
constexpr UINT kAboutCommand = 16;  // system-menu item of the About box
}

CTarnelixDlg::CTarnelixDlg(CTarnelixApp& app) : CDialog(IDD_TARNELIX_DIALOG), app(app) {
    icon = LoadIconA(ResourceInstance(), MAKEINTRESOURCEA(IDI_TARNELIX));
}

CTarnelixDlg::~CTarnelixDlg() {
    FreeProcessStatusLibraries();
}

BOOL CTarnelixDlg::OnInitDialog() {
    AppendAboutItem();
    if (icon != nullptr) {
        SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    return TRUE;
}

void CTarnelixDlg::AppendAboutItem() {
    char text[128] = {};
    HMENU systemMenu = GetSystemMenu(hwnd, FALSE);
    if (systemMenu != nullptr && LoadStringA(ResourceInstance(), IDS_ABOUTBOX, text, sizeof(text)) > 0) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, kAboutCommand, text);
    }
}

bool CTarnelixDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == kAboutCommand) {
        app.ShowAbout(hwnd);
        result = TRUE;
        return true;
    }
    return false;
}

void CTarnelixDlg::FreeProcessStatusLibraries() {
    if (psapiLibrary != nullptr) {
        FreeLibrary(psapiLibrary);
        psapiLibrary = nullptr;
    }
    if (vdmdbgLibrary != nullptr) {
        FreeLibrary(vdmdbgLibrary);
        vdmdbgLibrary = nullptr;
    }
}

}  // namespace tarnelix
