#include "pages/win32/Pages.h"

#include <string>

#include "common/TarnelixResource.h"

namespace tarnelix {

CAllowedBanners::CAllowedBanners(const ISkinSource& skin, AllowedBanners& model)
    : CListPage(skin, {IDD_ALLOWED_BANNERS, IDC_ALLOWED_LIST, {IDC_ADD_POPUP, IDC_ALLOWED_REMOVE}, "AllowedSites.bmp"}),
      model(model) {
    // A save may add the entries of a file it could not read before; the
    // list box follows, so that selections keep meaning the same entries.
    model.SetListChanged([this] { ShowList(this->model.List()); });
}

void CAllowedBanners::Reload() {
    model.LoadFromFile();
    ShowList(model.List());
}

bool CAllowedBanners::OnCommand(int id, int, HWND) {
    switch (id) {
    case IDC_ADD_POPUP: OnAddPopup(); return true;
    case IDC_ALLOWED_REMOVE: OnRemove(); return true;
    default: return false;  // Enter and Escape stay on the page
    }
}

void CAllowedBanners::OnAddPopup() {
    model.OnAddPopup(WindowText(Item(IDC_ALLOWED_ENTRY)));
    SetDlgItemTextA(hwnd, IDC_ALLOWED_ENTRY, "");
    ShowList(model.List());
}

void CAllowedBanners::OnRemove() {
    TakeSelection(model.List());
    model.OnRemove();
    ShowList(model.List());
}

CBlockedHistory::CBlockedHistory(const ISkinSource& skin, BlockedHistory& model, CAllowedBanners& allowedPage,
                                 AllowedBanners& allowed)
    : CListPage(skin,
                {IDD_BLOCKED_HISTORY, IDC_HISTORY_LIST, {IDC_HISTORY_ALLOW, IDC_HISTORY_REMOVE}, "BlockedHistory.bmp"}),
      model(model),
      allowedPage(allowedPage),
      allowed(allowed) {
    // Titles the engine records while the page may be open show at once.
    model.SetTitleAdded([this](size_t index) { InsertShown(this->model.List(), index); });
}

void CBlockedHistory::Reload() {
    model.LoadFromFile();
    ShowList(model.List());
}

bool CBlockedHistory::OnCommand(int id, int, HWND) {
    switch (id) {
    case IDC_HISTORY_ALLOW:
        TakeSelection(model.List());
        model.OnAllow(allowed);
        ShowList(model.List());
        // Not read back from the file: when its save failed, the moved
        // titles stay in memory instead of vanishing from both lists.
        allowedPage.Refresh();
        return true;
    case IDC_HISTORY_REMOVE:
        TakeSelection(model.List());
        model.OnRemove();
        ShowList(model.List());
        return true;
    default:
        return false;
    }
}

CAddBanners::CAddBanners(const ISkinSource& skin, AddBanners& model, IDesktop& desktop,
                         KillFunction killPopupWindow)
    : CListPage(skin, {IDD_ADD_BANNERS, IDC_OPEN_WINDOWS_LIST, {IDC_BLOCK, IDC_REFRESH}, "AddBanners.bmp"}),
      model(model),
      desktop(desktop),
      killPopupWindow(std::move(killPopupWindow)) {}

void CAddBanners::OnRefresh() {
    model.OnRefresh(desktop);
    ShowList(model.List());
}

bool CAddBanners::OnCommand(int id, int, HWND) {
    switch (id) {
    case IDC_REFRESH: OnRefresh(); return true;
    case IDC_BLOCK: OnBlock(); return true;
    default: return false;
    }
}

void CAddBanners::OnBlock() {
    TakeSelection(model.List());
    model.OnBlock(desktop, killPopupWindow);
    ShowList(model.List());
}

}  // namespace tarnelix
