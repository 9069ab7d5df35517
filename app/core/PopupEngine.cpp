#include "app/core/PopupEngine.h"

#include <optional>
#include <string_view>
#include <utility>

#include "pages/DesktopTitles.h"

CPopupEngine::CPopupEngine(IDesktop& desktop, ISoundPlayer& sound, IEngineHost& host, AllowedBanners& allowed,
                           BlockedHistory& history, Counters& counters)
    : desktop(desktop), sound(sound), host(host), allowed(allowed), history(history), counters(counters)
{
}

bool CPopupEngine::KillPopupWindow(WindowId window)
{
    if (window == 0) {
        return false;
    }
    const std::optional<std::string> title = desktop.WindowTitle(window);
    if (!title || host.IsDisableChecked() || desktop.IsCtrlKeyDown() || allowed.IsAllowed(*title)) {
        return false;
    }
    desktop.PostSystemClose(window);
    AnnounceKill();
    CountKill(kKillKindPopup);
    history.AddTitle(*title);
    return true;
}

void CPopupEngine::AnnounceKill()
{
    if (host.IsPlaySoundChecked()) {
        PlayNamedSound(killSoundPath);
    }
    if (host.IsNotificationChecked()) {
        host.ShowKillNotice();
    }
}

void CPopupEngine::CountKill(int kind)
{
    AddKill(counters, kind);
    host.SaveCounters();
    host.RefreshCounterDisplay();
}

void CPopupEngine::PlayNamedSound(const std::string& name)
{
    if (name.empty()) {
        return;
    }
    sound.PlayAsync(name.find('\\') != std::string::npos ? name : soundFolder + name);
}

void CPopupEngine::OnKillPopupWindowMessage(WindowId window)
{
    if (host.IsAutoBlockChecked()) {
        KillPopupWindow(window);
    }
}

void CPopupEngine::OnNewWindowCreatedMessage(WindowId window)
{
    if (host.IsAutoBlockChecked()) {
        return;
    }
    const std::optional<std::string> title = desktop.WindowTitle(window);
    if (title && history.IsBlockedTitle(*title)) {
        KillPopupWindow(window);
    }
}

void CPopupEngine::SweepBlockedTitles()
{
    for (const TitledWindow& candidate : VisibleTitledWindows(desktop)) {
        if (history.IsBlockedTitle(candidate.title)) {
            KillPopupWindow(candidate.window);
        }
    }
}

void CPopupEngine::BrowserBoxStep()
{
    const WindowId shell = desktop.FindTopLevel(kShellEmbeddingClass, "");
    if (shell != 0 && desktop.WindowStyle(shell) == kBareShellEmbeddingStyle) {
        KillPopupWindow(shell);
    }
    const WindowId scriptError = desktop.FindTopLevel(kScriptErrorClass, kScriptErrorTitle);
    if (scriptError != 0) {
        KillPopupWindow(scriptError);
    }
}

void CPopupEngine::MessengerBoxStep()
{
    // Timer 50 is stopped while Disable is checked; testing here as well
    // keeps Disable binding on every kill path, whoever calls the step.
    if (host.IsDisableChecked()) {
        return;
    }
    const WindowId box = desktop.FindTopLevel(kMessengerBoxClass, kMessengerBoxTitle);
    if (box == 0 || !desktop.WindowTitle(box)) {
        return;
    }
    desktop.PostClose(box);
    // The box stays until its owner has handled the close, and this timer
    // ticks far faster than that: a box is counted and announced once.
    if (box == lastMessengerBox) {
        return;
    }
    lastMessengerBox = box;
    AnnounceKill();
    CountKill(kKillKindPopup);
}
