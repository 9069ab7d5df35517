#include "platform/win32/Dialog.h"

namespace tarnelix {

HINSTANCE ResourceInstance() {
    return GetModuleHandleA(nullptr);
}

std::string WindowText(HWND window) {
    // GetWindowTextLength may overestimate (DBCS) but never underestimates.
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

CDialog::~CDialog() {
    if (hwnd != nullptr && !modal) {
        DestroyWindow(hwnd);
    }
}

INT_PTR CDialog::DoModal(HWND parent) {
    modal = true;
    return DialogBoxParamA(ResourceInstance(), MAKEINTRESOURCEA(templateId), parent, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create(HWND parent) {
    modal = false;
    return CreateDialogParamA(ResourceInstance(), MAKEINTRESOURCEA(templateId), parent, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndModal(INT_PTR result) {
    if (modal && hwnd != nullptr) {
        EndDialog(hwnd, result);
    }
}

bool CDialog::OnCommand(int id, int /*notifyCode*/, HWND /*control*/) {
    if (id == IDOK || id == IDCANCEL) {
        EndModal(id);
        return true;
    }
    return false;
}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

namespace {

// A dialog procedure returns these messages' results directly; every other
// result goes through DWLP_MSGRESULT, with TRUE meaning "handled".
bool ReturnsResultDirectly(UINT msg) {
    switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

}  // namespace

INT_PTR CDialog::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = 0;
    if (OnMessage(msg, wParam, lParam, result)) {
        if (ReturnsResultDirectly(msg)) {
            return result;
        }
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CDialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->hwnd = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    INT_PTR result = self->Dispatch(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        self->hwnd = nullptr;
    }
    return result;
}

}  // namespace tarnelix
