#include "addon/win32/SiteListView.h"

#include <commctrl.h>

#include <vector>

namespace tarnelix {

void Win32SiteListView::SetUp() {
    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    SetWindowLongPtrA(list, GWL_STYLE,
                      (style & ~LVS_TYPEMASK) | LVS_REPORT | LVS_SORTASCENDING | LVS_NOCOLUMNHEADER);
    char title[] = "Web Sites";
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = 350;
    column.pszText = title;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
}

int Win32SiteListView::Count() const {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string Win32SiteListView::ItemText(int index) const {
    // The control copies at most the buffer less its terminator; a text that
    // fills it may be longer, so the buffer grows until it does not.
    std::vector<char> buffer(1024);
    for (;;) {
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto copied = static_cast<std::size_t>(
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
        if (copied + 1 < buffer.size() || buffer.size() >= 1024 * 1024) {
            return std::string(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
        }
        buffer.resize(buffer.size() * 4);
    }
}

void Win32SiteListView::InsertItem(int index, const std::string& text) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int Win32SiteListView::FindExact(const std::string& text) const {
    LVFINDINFOA find{};
    find.flags = LVFI_STRING;
    find.psz = text.c_str();
    return static_cast<int>(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

int Win32SiteListView::FirstSelected() const {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void Win32SiteListView::DeleteItem(int index) {
    SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void Win32SiteListView::DeleteAll() {
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

}  // namespace tarnelix
