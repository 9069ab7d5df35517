// Veilmark-AddOn.exe: the privacy add-on's start-up.
#include <windows.h>

#include <string>

#include "common/VeilmarkResource.h"
#include "common/ProgramIdentity.h"
#include "platform/win32/Dialog.h"
#include "ui/win32/SkinnedWindow.h"

namespace tarnelix {
namespace {

// The add-on reads its background from a fixed place below its own folder,
// not from the main program's skin setting.
constexpr char kSkinFile[] = "Skin\\Default\\Veilmark-AddOn.bmp";

std::string ProgramFolder() {
    char path[kProgramPathCapacity] = {};
    GetModuleFileNameA(nullptr, path, kProgramPathCapacity - 1);
    return ProgramFolderFromPath(path);
}

// The add-on window, "Tarnelix-Veilmark", drawn over its skin picture.
class CPrivacyDlg : public CDialog {
public:
    CPrivacyDlg() : CDialog(IDD_PRIVACY_DIALOG) {
        const std::string path = ProgramFolder() + kSkinFile;
        skin = static_cast<HBITMAP>(
            LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    }
    ~CPrivacyDlg() override {
        if (skin != nullptr) {
            DeleteObject(skin);
        }
    }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM, INT_PTR& result) override {
        if (skin == nullptr) {
            return false;  // the standard dialog look
        }
        if (msg == WM_ERASEBKGND) {
            return AnswerEraseWithBitmap(hwnd, wParam, skin, result);
        }
        return AnswerEveryControlColour(msg, wParam, RGB(0, 0, 0), result);
    }

private:
    HBITMAP skin = nullptr;
};

}  // namespace
}  // namespace tarnelix

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tarnelix::CPrivacyDlg dlg;
    dlg.DoModal();
    return 0;
}
