// Veilmark-AddOn.exe: the privacy add-on's start-up.
#include <windows.h>

#include "addon/resource.h"
#include "platform/win32/Dialog.h"

namespace tarnelix {
namespace {

// The add-on window. It stays hidden until the main program asks for it.
class CPrivacyDlg : public CDialog {
public:
    CPrivacyDlg() : CDialog(IDD_PRIVACY_DIALOG) {}
};

}  // namespace
}  // namespace tarnelix

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tarnelix::CPrivacyDlg dlg;
    dlg.DoModal();
    return 0;
}
