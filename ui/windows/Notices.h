// The two notices in the lower right corner of the work area: the kill
// notice that slides up and down after a kill (template 165, "Msn.bmp"), and
// the timed notice (template 185) with the start-up summary and reminders.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/Counters.h"
#include "platform/Settings.h"
#include "platform/win32/Dialog.h"
#include "ui/core/Clock.h"
#include "ui/core/NoticePlacement.h"
#include "ui/core/NoticeRules.h"
#include "ui/windows/SkinSource.h"

namespace tarnelix {

class CKillNotice : public CDialog {
public:
    explicit CKillNotice(const ISkinSource& skin);
    ~CKillNotice() override;

    bool IsVisible() const { return hwnd != nullptr && IsWindowVisible(hwnd); }
    // Shows the notice, placed again first when the work area has changed.
    void ShowForKill();
    // One 300 ms step of the slide; the main window's timer drives it.
    void SlideStep(SlideState& slide);

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void PlaceFromWorkArea(bool fullHeight);

    const ISkinSource& skin;
    HBITMAP bitmap = nullptr;
    Rect workArea{};
};

class CNotification : public CDialog {
public:
    // What the notice reads from the main window at each request.
    struct Parent {
        std::function<bool()> isDisableChecked;
        std::function<Counters()> counters;
        std::function<bool()> isOnline;
    };

    CNotification(ISettings& settings, const IClock& clock, std::string notificationsFolder, Parent parent);
    ~CNotification() override;

    void ShowNotice(NotificationKind kind);
    void SetInstalledUpdates() { gate.SetInstalledUpdates(); }
    bool IsVisible() const { return hwnd != nullptr && IsWindowVisible(hwnd); }

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR timerId) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    bool LoadBitmap(const std::string& file);
    void ShowLabels(const NoticeDecision& decision);

    NoticeGate gate;
    std::string notificationsFolder;
    Parent parent;
    HBITMAP bitmap = nullptr;
    bool keepHidden = true;
};

}  // namespace tarnelix
