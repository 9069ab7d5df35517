// The list pages of the main window: allowed sites (template 135), blocked
// history (130) and add popups (134). Each wraps its portable model and
// keeps its list box in step with it.
#pragma once
#include <windows.h>

#include <functional>

#include "pages/AddBanners.h"
#include "pages/AllowedBanners.h"
#include "pages/BlockedHistory.h"
#include "pages/win32/ListPage.h"
#include "platform/Desktop.h"

namespace tarnelix {

class CAllowedBanners : public CListPage {
public:
    CAllowedBanners(const ISkinSource& skin, AllowedBanners& model);
    // Reads the file again and shows it, as every time the page is shown.
    void Reload();
    // Shows the list as it stands in memory.
    void Refresh() { ShowList(model.List()); }

protected:
    bool OnCommand(int id, int notifyCode, HWND control) override;

private:
    void OnAddPopup();
    void OnRemove();

    AllowedBanners& model;
};

class CBlockedHistory : public CListPage {
public:
    CBlockedHistory(const ISkinSource& skin, BlockedHistory& model, CAllowedBanners& allowedPage,
                    AllowedBanners& allowed);
    void Reload();

protected:
    bool OnCommand(int id, int notifyCode, HWND control) override;

private:
    BlockedHistory& model;
    CAllowedBanners& allowedPage;
    AllowedBanners& allowed;
};

class CAddBanners : public CListPage {
public:
    using KillFunction = std::function<void(WindowId)>;
    CAddBanners(const ISkinSource& skin, AddBanners& model, IDesktop& desktop, KillFunction killPopupWindow);
    void OnRefresh();

protected:
    bool OnCommand(int id, int notifyCode, HWND control) override;

private:
    void OnBlock();

    AddBanners& model;
    IDesktop& desktop;
    KillFunction killPopupWindow;
};

}  // namespace tarnelix
