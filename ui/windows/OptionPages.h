// The reports page (template 138) and the sound page (template 154) of the
// main window.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "common/Counters.h"
#include "platform/Settings.h"
#include "platform/Sound.h"
#include "platform/win32/Dialog.h"
#include "ui/core/ReportBars.h"
#include "ui/win32/TextLabel.h"
#include "ui/win32/XPButton.h"
#include "ui/windows/SkinSource.h"

namespace tarnelix {

// A child page of the main window with a skin background.
class CSkinnedPage : public CDialog {
public:
    CSkinnedPage(int templateId, const ISkinSource& skin, const char* bitmapName);
    ~CSkinnedPage() override;
    void Show(bool show) { ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE); }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    HBITMAP bitmap = nullptr;
};

class CReports : public CSkinnedPage {
public:
    struct MainWindow {
        std::function<Counters()> counters;
        std::function<void()> resetCounters;
    };
    CReports(const ISkinSource& skin, MainWindow mainWindow);
    void Refresh();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;
    void OnTimer(UINT_PTR timerId) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    MainWindow mainWindow;
    std::array<CTextLabel, 4> bars;
    ReportBarsState shown;
    CXPButton resetButton;
};

class CSound : public CSkinnedPage {
public:
    struct MainWindow {
        std::function<void(const std::string&)> setKillSound;
        std::function<void()> showGeneralPage;
    };
    CSound(const ISkinSource& skin, ISettings& settings, ISoundPlayer& player, std::string soundFolder,
           MainWindow mainWindow);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void Select(int index);
    bool PickOwnSound();
    void OnMouseMove(int x, int y);

    ISettings& settings;
    ISoundPlayer& player;
    std::string soundFolder;
    std::string ownSound;
    MainWindow mainWindow;
    CTextLabel backLink;
    bool overLink = false;
};

}  // namespace tarnelix
