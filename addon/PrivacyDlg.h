// CPrivacyDlg, the add-on's only window "Tarnelix-Veilmark": the nine
// cleaning steps' check boxes and the kept-cookie list over the add-on's
// skin. It runs modally for the add-on's whole life but stays hidden until
// the main program asks for it; OK, Cancel and the close box hide it again.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "addon/core/AddOnProtocol.h"
#include "addon/core/KeptSites.h"
#include "addon/core/TraceCleaner.h"
#include "addon/win32/SiteListView.h"
#include "common/PendingSettings.h"
#include "common/SaveFaults.h"
#include "platform/win32/Dialog.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32TextCompare.h"
#include "ui/win32/XPButton.h"

namespace tarnelix {

class CPrivacyDlg final : public CDialog, private IAddOnHost {
public:
    explicit CPrivacyDlg(PendingSettings& settings);
    ~CPrivacyDlg() override;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;
    void OnTimer(UINT_PTR timerId) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    // IAddOnHost
    WindowId FindMainWindow() override;
    bool IsWindow(WindowId window) override;
    void PostRunNotice(WindowId mainWindow, RunNotice notice) override;
    void PostDisableQuery(WindowId mainWindow) override;
    void StartTimer(unsigned id, unsigned periodMs) override;
    void StopTimer(unsigned id) override;
    void ShowOnTop() override;
    void EndAddOn() override;
    void RunCleaners() override;

    void RegisterMessages();
    void LoadCheckBoxes();
    void StoreCheckBox(int id);
    void OnAddSite();
    void OnRemoveSite();
    void RepaintUnderSiteEdit();
    bool OnRegisteredMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool PaintMinimised();
    // After each change the user makes and at every timer: saves what a
    // failed save left unsaved and tells the user of faults new to them.
    void CheckSaves();

    PendingSettings& settings;
    SaveWatch saveWatch;
    bool boxOpen = false;
    std::string programFolder;
    std::string listPath;
    TracePaths paths;
    CAddOnProtocol protocol{*this};
    struct {
        UINT disable, exit, showPrivacyAddOn, privacyAddOnRun;
    } messages{};
    HICON icon = nullptr;
    HBITMAP skin = nullptr;
    HBRUSH hollowBrush = nullptr;
    Win32FileStore store;
    Win32TextCompare compare;
    std::unique_ptr<Win32SiteListView> siteList;
    std::unique_ptr<CKeptSites> keptSites;
    CXPButton okButton, cancelButton, addButton, removeButton;
};

}  // namespace tarnelix
