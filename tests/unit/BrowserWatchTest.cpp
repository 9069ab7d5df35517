// The browser watcher: which windows of which programs are frames of
// today's browsers, and the rule that judges them, on an injected tick.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/core/BrowserWatch.h"
#include "hook/ProcessKind.h"

namespace {

constexpr std::uint32_t kFrame = 0x16CF0000;    // caption, system menu, visible
constexpr std::uint32_t kPopup = 0x84000000;    // WS_POPUP | WS_CLIPSIBLINGS: tooltips, menus
constexpr std::uint32_t kStart = 0xFFFFF000u;   // the browsers start just before the tick count wraps
constexpr std::uint32_t kLater = kStart + 5000;  // well past the session restore
constexpr std::uint32_t kKeyDown = 0x0100, kKeyUp = 0x0101, kMove = 0x0200, kLeftUp = 0x0202, kRightUp = 0x0205,
                        kMiddleUp = 0x0208;

struct FakeWindows final : IWatchedWindows {
    struct Window {
        std::string className;
        WindowShape shape;
    };
    std::map<WindowId, Window> windows;
    std::map<std::uint32_t, ProcessFacts> processes;
    std::uint32_t foreground = 0;

    std::string ClassName(WindowId w) const override { return windows.count(w) ? windows.at(w).className : ""; }
    std::optional<WindowShape> Shape(WindowId w) const override
    {
        return windows.count(w) ? std::optional(windows.at(w).shape) : std::nullopt;
    }
    std::optional<ProcessFacts> Process(std::uint32_t id) const override
    {
        return processes.count(id) ? std::optional(processes.at(id)) : std::nullopt;
    }
    std::uint32_t ForegroundProcessId() const override { return foreground; }
};

struct Watch {
    FakeWindows desktop;
    std::vector<std::pair<WindowId, bool>> reports;
    CBrowserWatcher watcher{desktop, [this](WindowId w, bool popup) { reports.emplace_back(w, popup); }};

    // A window of process `pid` created at `tick`; what was reported of it.
    std::string Create(std::uint32_t pid, std::string className, WindowShape shape, std::uint32_t tick)
    {
        const WindowId id = desktop.windows.size() + 1;
        shape.processId = pid;
        desktop.windows[id] = {std::move(className), shape};
        reports.clear();
        watcher.OnWindowCreated(id, tick);
        return reports.empty() ? "ignored" : reports[0].second ? "popup" : "kept";
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
        {"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe", "Chrome_WidgetWin_1", frame, "popup"},
        {"C:\\Edge\\MSEDGE.EXE", "chrome_widgetwin_1", frame, "popup"},
        {"C:\\Mozilla Firefox\\firefox.exe", "MozillaWindowClass", frame, "popup"},
        {"C:\\Opera\\opera.exe", "MozillaWindowClass", frame, "ignored"},  // the other browser's class
        {"C:\\chrome.exe", "Chrome_WidgetWin_1", {kPopup, true, false, 0}, "ignored"},  // tooltip, menu
        {"C:\\chrome.exe", "Chrome_WidgetWin_1", {kFrame & ~0x00080000u, true, false, 0}, "ignored"},  // no system menu
        {"C:\\chrome.exe", "Chrome_WidgetWin_1", {kFrame, true, true, 0}, "ignored"},     // owned
        {"C:\\chrome.exe", "Chrome_WidgetWin_1", {kFrame, false, false, 0}, "ignored"},   // child, message window
        {"C:\\IE\\IEXPLORE.EXE", "Chrome_WidgetWin_1", frame, "ignored"},  // the hook library's
        {"C:\\chrome.exe\\chromium.exe", "Chrome_WidgetWin_1", frame, "ignored"},
        {"", "Chrome_WidgetWin_1", frame, "ignored"},  // a process that may not be asked
    };
    for (const auto& c : cases) {
        Watch watch;
        if (*c.path != '\0') {
            watch.desktop.processes[7] = {c.path, kStart};
        }
        EXPECT_EQ(c.verdict, watch.Create(7, c.className, c.shape, kLater)) << c.path << " " << c.className;
    }
    // No browser of the table is one the hook library watches.
    for (const ModernBrowser& browser : kModernBrowsers) {
        EXPECT_EQ(ProcessKind::NotWatched, ProcessKindFromPath(browser.programName)) << browser.programName;
    }
}

TEST(BrowserWatch, OneKeyPressOrClickOfTheProcessInFrontLetsOneFrameThroughWithin1500Ms)
{
    Watch watch;
    watch.desktop.processes = {{1, {"chrome.exe", kStart}}, {2, {"firefox.exe", kStart}}};
    const auto frame = [&](std::uint32_t pid, std::uint32_t tick) {
        return watch.Create(pid, pid == 1 ? kChromiumFrameClass : kFirefoxFrameClass, {kFrame, true, false, 0}, tick);
    };
    const auto input = [&](std::uint32_t front, bool keyboard, std::uint32_t message, std::uint32_t tick) {
        watch.desktop.foreground = front;
        watch.watcher.OnInput(keyboard, message, tick);
    };
    // Session restore: 2999 ms after the start kept, 3000 ms judged.
    EXPECT_EQ("kept", frame(1, kStart + 2999));
    EXPECT_EQ("popup", frame(1, kStart + 3000));
    input(1, true, kKeyDown, kLater);
    EXPECT_EQ("kept", frame(1, kLater + 1500));
    EXPECT_EQ("popup", frame(1, kLater + 1500));  // the action is used up
    input(1, false, kLeftUp, kLater + 2000);
    EXPECT_EQ("popup", frame(2, kLater + 2100));  // the click was Chrome's
    EXPECT_EQ("popup", frame(1, kLater + 3501));  // 1501 ms later
    input(2, false, kMiddleUp, kLater + 4000);
    EXPECT_EQ("popup", frame(2, kLater + 3999));  // made before the click...
    EXPECT_EQ("kept", frame(2, kLater + 4001));   // ...which still counts after it
    for (std::uint32_t message : {kKeyUp, kMove, kRightUp}) {
        input(2, message == kKeyUp, message, kLater + 5000);
    }
    EXPECT_EQ("popup", frame(2, kLater + 5001));  // key up, pointer moves, right clicks
    // Seventeen processes in turn: each keeps its own action.
    for (std::uint32_t pid = 1; pid <= 17; ++pid) {
        input(pid, true, kKeyDown, kLater + 6000 + pid);
    }
    EXPECT_EQ("kept", frame(2, kLater + 6100));
}

}  // namespace
