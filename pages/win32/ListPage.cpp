#include "pages/win32/ListPage.h"

#include "ui/win32/SkinnedWindow.h"

namespace tarnelix {

CListPage::CListPage(const ISkinSource& skin, const Layout& layout) : CDialog(layout.templateId), layout(layout) {
    skin.LoadSkinBitmap(bitmap, layout.bitmapName);
}

CListPage::~CListPage() {
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
}

BOOL CListPage::OnInitDialog() {
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i].Attach(hwnd, layout.buttonIds[i]);
    }
    return FALSE;
}

bool CListPage::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (msg) {
    case WM_ERASEBKGND:
        return AnswerEraseWithBitmap(hwnd, wParam, bitmap, result);
    case WM_DRAWITEM:
        result = TRUE;
        return CXPButton::HandleDrawItem(lParam);
    default:
        return false;
    }
}

void CListPage::ShowList(const SortedTextList& list) {
    HWND box = Item(layout.listBoxId);
    SendMessageA(box, WM_SETREDRAW, FALSE, 0);
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < list.Count(); ++i) {
        SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(list.TextAt(i).c_str()));
        if (list.IsSelected(i)) {
            SendMessageA(box, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
        }
    }
    SendMessageA(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
}

void CListPage::InsertShown(const SortedTextList& list, size_t index) {
    SendMessageA(Item(layout.listBoxId), LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(list.TextAt(index).c_str()));
}

void CListPage::TakeSelection(SortedTextList& list) {
    HWND box = Item(layout.listBoxId);
    for (size_t i = 0; i < list.Count(); ++i) {
        const LRESULT selected = SendMessageA(box, LB_GETSEL, static_cast<WPARAM>(i), 0);
        list.SetSelected(i, selected > 0);
    }
}

}  // namespace tarnelix
