#include "ui/windows/MessageInfoDlg.h"

#include "common/TarnelixResource.h"
#include "ui/win32/SkinnedWindow.h"

namespace tarnelix {

CMessageInfoDlg::CMessageInfoDlg(const ISkinSource& skin) : CDialog(IDD_MESSAGE_INFO) {
    skin.LoadSkinBitmap(bitmap, "Message.bmp");
    icon = LoadIconA(ResourceInstance(), MAKEINTRESOURCEA(IDI_TARNELIX));
}

CMessageInfoDlg::~CMessageInfoDlg() {
    if (messageFont != nullptr) {
        DeleteObject(messageFont);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
}

int CMessageInfoDlg::Run(HWND owner) {
    const INT_PTR result = DoModal(owner);
    return result == IDOK ? IDOK : IDCANCEL;
}

BOOL CMessageInfoDlg::OnInitDialog() {
    if (icon != nullptr) {
        SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    if (!title.empty()) {
        SetWindowTextA(hwnd, title.c_str());
    }
    messageFont = CreateFontA(0, 0, 0, 0, FW_THIN, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 16, "MS Sans Serif");
    SendMessageA(Item(IDC_MESSAGE_TEXT), WM_SETFONT, reinterpret_cast<WPARAM>(messageFont), TRUE);
    if (!message.empty()) {
        SetDlgItemTextA(hwnd, IDC_MESSAGE_TEXT, message.c_str());
    }
    okButton.Attach(hwnd, IDOK);
    cancelButton.Attach(hwnd, IDCANCEL);
    if (bitmap != nullptr) {
        SizeClientToBitmap(hwnd, bitmap);
    }
    return TRUE;
}

bool CMessageInfoDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (msg) {
    case WM_ERASEBKGND:
        return AnswerEraseWithBitmap(hwnd, wParam, bitmap, result);
    case WM_DRAWITEM:
        result = TRUE;
        return CXPButton::HandleDrawItem(lParam);
    default:
        return AnswerEveryControlColour(msg, wParam, RGB(0, 0, 0), result);
    }
}

}  // namespace tarnelix
