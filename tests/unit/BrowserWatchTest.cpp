// The browser watcher: which windows of which programs are frames of
// today's browsers, and the rule that judges them, on an injected tick.
#include <gtest/gtest.h>

#include <map>

#include "app/core/BrowserWatch.h"
#include "hook/ProcessKind.h"

namespace {

constexpr std::uint32_t kFrame = 0x16CF0000, kPopup = 0x84000000;  // tooltips and menus are popups
constexpr std::uint32_t kStart = 0xFFFFF000u;                      // just before the tick count wraps
constexpr std::uint32_t kKeyDown = 0x0100, kKeyUp = 0x0101, kMove = 0x0200, kLeftUp = 0x0202, kRightUp = 0x0205;

struct Watch final : IWatchedWindows {
    std::map<WindowId, std::pair<std::string, WindowShape>> windows;
    std::map<std::uint32_t, ProcessFacts> processes;
    std::uint32_t front = 0;
    std::string verdict;
    CBrowserWatcher watcher{*this, [this](WindowId, bool popup) { verdict = popup ? "popup" : "kept"; }};

    std::string ClassName(WindowId w) const override { return windows.at(w).first; }
    std::optional<WindowShape> Shape(WindowId w) const override { return windows.at(w).second; }
    std::optional<ProcessFacts> Process(std::uint32_t id) const override
    {
        return processes.count(id) ? std::optional(processes.at(id)) : std::nullopt;
    }
    std::uint32_t ForegroundProcessId() const override { return front; }
    // What became of a window of process `pid` created at `tick`.
    std::string Create(std::uint32_t pid, std::string className, WindowShape shape, std::uint32_t tick)
    {
        shape.processId = pid;
        windows[windows.size() + 1] = {std::move(className), shape};
        verdict = "ignored";
        watcher.OnWindowCreated(windows.size(), tick);
        return verdict;
    }
    std::string Frame(std::uint32_t pid, std::uint32_t tick)
    {
        return Create(pid, pid == 1 ? "Chrome_WidgetWin_1" : "MozillaWindowClass", {kFrame, true, false, 0}, tick);
    }
    void Input(std::uint32_t pid, bool keyboard, std::uint32_t message, std::uint32_t tick)
    {
        front = pid;
        watcher.OnInput(keyboard, message, tick);
    }
};

TEST(BrowserWatch, FramesAreTopLevelUnownedCaptionedWindowsOfTheBrowsersOwnClass)
{
    const WindowShape frame{kFrame, true, false, 0};
    const struct {
        const char* path;
        const char* className;
        WindowShape shape;
        const char* verdict;
    } cases[] = {
        {"C:\\Edge\\MSEDGE.EXE", "chrome_widgetwin_1", frame, "popup"},
        {"C:\\Opera\\opera.exe", "MozillaWindowClass", frame, "ignored"},  // the other browser's class
        {"chrome.exe", "Chrome_WidgetWin_1", {kPopup, true, false, 0}, "ignored"},
        {"chrome.exe", "Chrome_WidgetWin_1", {kFrame & ~0x00080000u, true, false, 0}, "ignored"},  // no system menu
        {"chrome.exe", "Chrome_WidgetWin_1", {kFrame, true, true, 0}, "ignored"},                  // owned
        {"chrome.exe", "Chrome_WidgetWin_1", {kFrame, false, false, 0}, "ignored"},  // child, message window
        {"C:\\IE\\IEXPLORE.EXE", "Chrome_WidgetWin_1", frame, "ignored"},
        {"C:\\chrome.exe\\chromium.exe", "Chrome_WidgetWin_1", frame, "ignored"},
        {"", "Chrome_WidgetWin_1", frame, "ignored"},  // a process that may not be asked
    };
    for (const auto& c : cases) {
        Watch watch;
        if (*c.path != '\0') {
            watch.processes[7] = {c.path, kStart};
        }
        EXPECT_EQ(c.verdict, watch.Create(7, c.className, c.shape, kStart + 5000)) << c.path << " " << c.className;
    }
    for (const ModernBrowser& browser : kModernBrowsers) {  // none is the hook library's
        EXPECT_EQ(ProcessKind::NotWatched, ProcessKindFromPath(browser.programName)) << browser.programName;
    }
}

TEST(BrowserWatch, OneKeyPressOrClickOfTheProcessInFrontLetsOneFrameThroughWithin1500Ms)
{
    Watch w;
    w.processes = {{1, {"chrome.exe", kStart}}, {2, {"firefox.exe", kStart}}};
    const std::uint32_t t = kStart + 5000;
    EXPECT_EQ("kept", w.Frame(1, kStart + 2999));  // session restore
    EXPECT_EQ("popup", w.Frame(1, kStart + 3000));
    w.Input(1, true, kKeyDown, t);
    EXPECT_EQ("kept", w.Frame(1, t + 1500));
    EXPECT_EQ("popup", w.Frame(1, t + 1500));  // the action is used up
    w.Input(1, false, kLeftUp, t + 2000);
    EXPECT_EQ("popup", w.Frame(2, t + 2100));  // the click was Chrome's
    EXPECT_EQ("popup", w.Frame(1, t + 3501));  // 1501 ms later
    w.Input(2, false, 0x0208, t + 4000);         // middle click
    EXPECT_EQ("popup", w.Frame(2, t + 3999));  // made before the click...
    EXPECT_EQ("kept", w.Frame(2, t + 4001));   // ...which still counts after it
    for (std::uint32_t message : {kKeyUp, kMove, kRightUp}) {
        w.Input(2, message == kKeyUp, message, t + 5000);
    }
    EXPECT_EQ("popup", w.Frame(2, t + 5001));
    for (std::uint32_t pid = 1; pid <= 17; ++pid) {  // 17 processes: the oldest slot goes
        w.Input(pid, true, kKeyDown, t + 6000 + pid);
    }
    EXPECT_EQ("kept", w.Frame(2, t + 6100));
}

}  // namespace
