#include "pages/win32/ListPage.h"

namespace tarnelix {

void CListPage::ShowList(const SortedTextList& list) {
    HWND box = Item(listBoxId);
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

void CListPage::TakeSelection(SortedTextList& list) {
    HWND box = Item(listBoxId);
    for (size_t i = 0; i < list.Count(); ++i) {
        const LRESULT selected = SendMessageA(box, LB_GETSEL, static_cast<WPARAM>(i), 0);
        list.SetSelected(i, selected > 0);
    }
}

}  // namespace tarnelix
