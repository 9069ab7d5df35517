// The advanced page of the main window (template 159): the home-page lock,
// the Messenger guard and the script-debugger switch, and the adware list
// in a list view with a check box per program.
#pragma once
#include <windows.h>

#include <functional>

#include "common/TarnelixResource.h"
#include "pages/Advance.h"
#include "ui/windows/OptionPages.h"

namespace tarnelix {

class CAdvance : public CSkinnedPage {
public:
    // The main window's guard, which decides itself whether it has anything
    // to do, and its browser watcher, which follows the box at once.
    struct MainWindow {
        std::function<void()> stopMessengerService;
        std::function<void()> restoreMessengerService;
        std::function<void()> watchModernBrowsersChanged;
    };
    CAdvance(const ISkinSource& skin, Advance& model, MainWindow mainWindow);

    // The boxes as they stand; the main window reads them at each use.
    bool IsPreventHomePageChecked() const { return IsChecked(IDC_PREVENT_HOME_PAGE); }
    bool IsBlockMessengerChecked() const { return IsChecked(IDC_BLOCK_MESSENGER); }
    bool IsWatchModernBrowsersChecked() const { return IsChecked(IDC_WATCH_MODERN_BROWSERS); }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    bool IsChecked(int id) const { return hwnd != nullptr && IsDlgButtonChecked(hwnd, id) == BST_CHECKED; }
    void SetUpAdwareList();
    // Puts the model's items into the list view, in the model's order.
    void ShowAdwareList(const AdwareList& list);
    void OnBlockMessenger();

    Advance& model;
    MainWindow mainWindow;
};

}  // namespace tarnelix
