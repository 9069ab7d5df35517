#include "app/core/PopupEngine.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "app/core/BrowserWatch.h"
#include "hook/ProcessKind.h"
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
    // The window may have gone since its title was read, or belong to a
    // program the system shields from ours (an elevated one).
    if (!desktop.PostSystemClose(window)) {
        return false;
    }
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

bool CPopupEngine::IsGenuineReport(WindowId window) const
{
    const ProcessKind kind = ProcessKindFromPath(desktop.WindowProgramPath(window).c_str());
    if (!WatchesWindows(kind)) {
        return false;
    }
    if (desktop.IsTopLevel(window)) {
        return true;
    }
    return kind == ProcessKind::Aol && std::any_of(std::begin(kAolFrameClasses), std::end(kAolFrameClasses),
                                                   [&](const char* frame) { return desktop.HasChildOfClass(window, frame); });
}

void CPopupEngine::OnKillPopupWindowMessage(WindowId window)
{
    if (host.IsAutoBlockChecked() && IsGenuineReport(window)) {
        KillPopupWindow(window);
    }
}

void CPopupEngine::OnNewWindowCreatedMessage(WindowId window)
{
    if (!host.IsAutoBlockChecked() && IsGenuineReport(window)) {
        KillIfBlockedTitle(window);
    }
}

void CPopupEngine::KillIfBlockedTitle(WindowId window)
{
    const std::optional<std::string> title = desktop.WindowTitle(window);
    if (title && history.IsBlockedTitle(*title)) {
        KillPopupWindow(window);
    }
}

void CPopupEngine::OnBrowserFrame(WindowId window, bool popup)
{
    if (!desktop.IsTopLevel(window) || FindModernBrowser(desktop.WindowProgramPath(window)) == nullptr) {
        return;
    }
    if (!host.IsAutoBlockChecked()) {
        KillIfBlockedTitle(window);
    } else if (popup) {
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
    ForgetVanished(killedBrowserBoxes);
    const WindowId shell = desktop.FindTopLevel(kShellEmbeddingClass, "");
    if (shell != 0 && desktop.WindowStyle(shell) == kBareShellEmbeddingStyle) {
        KillBrowserBox(shell);
    }
    const WindowId scriptError = desktop.FindTopLevel(kScriptErrorClass, kScriptErrorTitle);
    if (scriptError != 0) {
        KillBrowserBox(scriptError);
    }
}

// A box stays until its owner has handled the close, and on a busy system
// that takes longer than one tick: killing it again would count and record
// one box twice. It is only asked to close again.
void CPopupEngine::KillBrowserBox(WindowId box)
{
    const auto& killed = killedBrowserBoxes;
    if (std::find(killed.begin(), killed.end(), box) != killed.end()) {
        desktop.PostSystemClose(box);
    } else if (KillPopupWindow(box)) {
        killedBrowserBoxes.push_back(box);
    }
}

void CPopupEngine::ForgetVanished(std::vector<WindowId>& boxes) const
{
    boxes.erase(std::remove_if(boxes.begin(), boxes.end(), [&](WindowId box) { return !desktop.WindowTitle(box); }),
                boxes.end());
}

void CPopupEngine::MessengerBoxStep()
{
    // Timer 50 is stopped while Disable is checked; testing here as well
    // keeps Disable binding on every kill path, whoever calls the step.
    if (host.IsDisableChecked()) {
        return;
    }
    // A box stays until its owner has handled the close, and this timer
    // ticks far faster than that; several may stand at once, and the first
    // found may be an older one again when a newer one goes. So every box
    // counted is remembered while it stands, and forgotten once it is gone,
    // when a new box may get its handle.
    auto& counted = countedMessengerBoxes;
    ForgetVanished(counted);
    const WindowId box = desktop.FindTopLevel(kMessengerBoxClass, kMessengerBoxTitle);
    if (box == 0 || !desktop.PostClose(box) || std::find(counted.begin(), counted.end(), box) != counted.end()) {
        return;
    }
    counted.push_back(box);
    AnnounceKill();
    CountKill(kKillKindPopup);
}
