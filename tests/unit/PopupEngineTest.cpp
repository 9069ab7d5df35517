#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/core/PopupEngine.h"
#include "support/FakeDesktop.h"
#include "support/ListTexts.h"
#include "support/MemoryFileStore.h"

namespace {

using Ids = std::vector<WindowId>;
using Lines = std::vector<std::string>;

const std::string kFolder = "C:\\Tarnelix\\";
const std::string kHistoryPath = kFolder + kHistoryFileName;
const std::string kKillSound = "C:\\Sounds\\kill.wav";

// The main window's side: check boxes as plain flags, calls counted.
struct FakeEngineHost final : IEngineHost {
    bool disable = false, autoBlock = true, playSound = true, notification = true;
    int notices = 0, refreshes = 0, saves = 0;

    bool IsDisableChecked() const override { return disable; }
    bool IsAutoBlockChecked() const override { return autoBlock; }
    bool IsPlaySoundChecked() const override { return playSound; }
    bool IsNotificationChecked() const override { return notification; }
    void ShowKillNotice() override { ++notices; }
    void RefreshCounterDisplay() override { ++refreshes; }
    void SaveCounters() override { ++saves; }
};

// The engine with everything it works on.
struct EngineParts {
    EngineParts() { engine.SetKillSoundPath(kKillSound); }

    Lines History() const { return Texts(history.List()); }
    // Nothing closed, counted, announced or recorded.
    void ExpectNothingDone() const
    {
        EXPECT_TRUE(desktop.systemClosed.empty() && desktop.closed.empty());
        EXPECT_EQ(counters.popupTotal + counters.popupRun, 0);
        EXPECT_EQ(host.saves + host.notices, 0);
        EXPECT_TRUE(sound.played.empty());
        EXPECT_EQ(store.files.count(kHistoryPath), 0u);
    }

    FakeDesktop desktop;
    FakeSoundPlayer sound;
    MemoryFileStore store;
    AsciiTextCompare compare;
    Counters counters;
    FakeEngineHost host;
    AllowedBanners allowed{store, compare, kFolder + kAllowedFileName};
    BlockedHistory history{store, compare, kHistoryPath};
    CPopupEngine engine{desktop, sound, host, allowed, history, counters};
};

class PopupEngineTest : public ::testing::Test, public EngineParts {};

}  // namespace

// The Wine engine and look tests see a kill close, sound, notify, count and
// record. Without sound, notice or sound file a kill still counts; a title
// that begins a history entry is counted but not recorded.
TEST_F(PopupEngineTest, KillCountsWithoutSoundOrNoticeAndRecordsNoBeginningOfAnEntry)
{
    EXPECT_TRUE(engine.KillPopupWindow(desktop.Add("IEFrame", "Win a prize - Microsoft Internet Explorer")));
    host.playSound = false;
    host.notification = false;
    EXPECT_TRUE(engine.KillPopupWindow(desktop.Add("IEFrame", "Ad")));
    host.playSound = true;
    engine.SetKillSoundPath("");
    EXPECT_TRUE(engine.KillPopupWindow(desktop.Add("IEFrame", "Win a")));
    EXPECT_EQ(sound.played.size() + host.notices, 2u);  // the first kill's only
    EXPECT_EQ(counters.popupTotal, 3);
    EXPECT_EQ(History(), (Lines{"Ad", "Win a prize - Microsoft Internet Explorer"}));
}

// Allowed entries match case-sensitively anywhere in the title.
TEST_F(PopupEngineTest, KillLetsThroughNullVanishedDisabledCtrlAllowedAndRefusedPosts)
{
    using SetUp = std::function<WindowId(EngineParts&)>;
    const SetUp vanished = [](EngineParts& t) {
        const WindowId window = t.desktop.Add("IEFrame", "Ad");
        t.desktop.Vanish(window);
        return window;
    };
    const struct {
        const char* what;
        SetUp setUp;
        bool killed;
    } cases[] = {
        {"null", [](EngineParts&) { return WindowId{0}; }, false},
        {"vanished", vanished, false},
        {"Disable", [](EngineParts& t) { t.host.disable = true; return t.desktop.Add("IEFrame", "Ad"); }, false},
        {"Ctrl", [](EngineParts& t) { t.desktop.ctrlDown = true; return t.desktop.Add("IEFrame", "Ad"); }, false},
        {"allowed", [](EngineParts& t) { t.allowed.List().Add("Bank"); return t.desktop.Add("IEFrame", "My Bank"); },
         false},
        {"refused", [](EngineParts& t) { t.desktop.refusePosts = true; return t.desktop.Add("IEFrame", "Ad"); }, false},
        {"other case", [](EngineParts& t) { t.allowed.List().Add("Bank"); return t.desktop.Add("IEFrame", "my bank"); },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EngineParts fresh;
        EXPECT_EQ(fresh.engine.KillPopupWindow(c.setUp(fresh)), c.killed);
        if (!c.killed) {
            fresh.ExpectNothingDone();
        }
    }
}

// Any program can post a report: only a watched program's top-level window
// or an AOL window holding a browser frame counts. The Wine engine test
// forges reports for a browser's child and an unwatched program's window.
TEST_F(PopupEngineTest, ReportsAreHonouredOnlyForWindowsTheHookLibraryReports)
{
    const auto windowOf = [&](const char* program, const char* className) {
        const WindowId window = desktop.Add(className, className);
        desktop.SetProgram(window, program);
        return window;
    };
    const WindowId aolHost = windowOf("C:\\America Online 9.0\\aol.exe", "AOL Frame25");
    const WindowId mdiClient = desktop.AddChild(aolHost, "MDIClient");
    desktop.AddChild(mdiClient, "_aol_ebrowser_site");
    const struct {
        WindowId window;
        bool honoured;
    } cases[] = {{windowOf("C:\\WINDOWS\\Explorer.EXE", "CabinetWClass"), false},
                 {windowOf("", "IEFrame"), false},
                 {aolHost, true},
                 {mdiClient, true},
                 {desktop.AddChild(aolHost, "_AOL_Button"), false}};
    for (const auto& c : cases) {
        EXPECT_EQ(engine.IsGenuineReport(c.window), c.honoured) << c.window;
    }
}

TEST_F(PopupEngineTest, KillMessageActsOnlyWithAutoBlockNewWindowMessageOnlyWithout)
{
    store.files[kHistoryPath] = "BLK:\r\nBLK:Deal\r\n";  // the bare entry must not match untitled windows
    history.LoadFromFile();
    const WindowId deal = desktop.Add("IEFrame", "deal");
    engine.OnNewWindowCreatedMessage(deal);  // AutoBlock on: not this path's business
    host.autoBlock = false;
    engine.OnKillPopupWindowMessage(desktop.Add("IEFrame", "Ad"));
    for (const char* title : {"", "Deal of the day", "Deal "}) {
        engine.OnNewWindowCreatedMessage(desktop.Add("IEFrame", title));
    }
    engine.OnNewWindowCreatedMessage(deal);
    EXPECT_EQ(desktop.systemClosed, (Ids{deal}));
    EXPECT_EQ(counters.popupTotal, 1);
}

TEST_F(PopupEngineTest, DisableStopsEveryPath)
{
    host.disable = true;
    history.List().Add("Deal - Mozilla");
    const WindowId deal = desktop.Add("IEFrame", "Deal - Mozilla");
    desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle);
    desktop.Add(kMessengerBoxClass, kMessengerBoxTitle);
    engine.OnKillPopupWindowMessage(deal);
    engine.SweepBlockedTitles();
    engine.BrowserBoxStep();  // the bare Shell Embedding window
    engine.MessengerBoxStep();
    host.autoBlock = false;
    engine.OnNewWindowCreatedMessage(deal);
    EXPECT_TRUE(desktop.systemClosed.empty() && desktop.closed.empty());
    EXPECT_EQ(counters.popupTotal + host.saves, 0);
}

TEST_F(PopupEngineTest, ShellEmbeddingIsKilledOnlyUntitledWithTheExactStyle)
{
    const struct {
        const char* title;
        std::uint32_t style;
        bool killed;
    } cases[] = {
        {"", kBareShellEmbeddingStyle, true},
        {"", kBareShellEmbeddingStyle | 0x00080000u, false},  // WS_SYSMENU
        {"", kBareShellEmbeddingStyle & ~0x00010000u, false},
    };
    for (const auto& c : cases) {
        desktop.systemClosed.clear();
        const WindowId shell = desktop.Add(kShellEmbeddingClass, c.title, true, c.style);
        engine.BrowserBoxStep();
        EXPECT_EQ(desktop.systemClosed, c.killed ? Ids{shell} : Ids{}) << c.title << " " << std::hex << c.style;
        desktop.Vanish(shell);
    }
    EXPECT_EQ(counters.popupTotal, 1);
    EXPECT_TRUE(history.List().IsEmpty());  // an empty title is not recorded
}

// Only the first match of each kind is judged per tick.
TEST_F(PopupEngineTest, BrowserBoxesCloseOnePerTickAndHonourCtrl)
{
    desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle | 0x00080000u);
    desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle);  // waits behind the first
    const WindowId first = desktop.Add(kScriptErrorClass, kScriptErrorTitle);
    const WindowId second = desktop.Add(kScriptErrorClass, kScriptErrorTitle);
    desktop.ctrlDown = true;
    engine.BrowserBoxStep();
    EXPECT_TRUE(desktop.systemClosed.empty());
    desktop.ctrlDown = false;
    engine.BrowserBoxStep();
    engine.BrowserBoxStep();  // still standing: asked again, not counted again
    desktop.Vanish(first);
    engine.BrowserBoxStep();
    EXPECT_EQ(desktop.systemClosed, (Ids{first, first, second}));
    EXPECT_EQ(counters.popupTotal, 2);
    EXPECT_EQ(History(), (Lines{kScriptErrorTitle}));
}

TEST_F(PopupEngineTest, MessengerBoxIsClosedAndCountedDespiteCtrlOrAnAllowedEntry)
{
    desktop.ctrlDown = true;
    allowed.List().Add("Messenger");
    const WindowId box = desktop.Add(kMessengerBoxClass, kMessengerBoxTitle);
    engine.MessengerBoxStep();
    EXPECT_EQ(desktop.closed, (Ids{box}));
    EXPECT_EQ(counters.popupTotal, 1);
}

// A box stands until its owner handles the close; the timer ticks faster.
TEST_F(PopupEngineTest, EveryMessengerBoxIsCountedOnceWhileItStands)
{
    desktop.refusePosts = true;
    const WindowId older = desktop.Add(kMessengerBoxClass, kMessengerBoxTitle);
    engine.MessengerBoxStep();  // the close could not be posted: no kill
    EXPECT_EQ(counters.popupTotal, 0);
    desktop.refusePosts = false;
    engine.MessengerBoxStep();
    engine.MessengerBoxStep();
    EXPECT_EQ(desktop.closed, (Ids{older, older}));
    EXPECT_EQ(counters.popupTotal, 1);

    const WindowId newer = desktop.AddInFront(kMessengerBoxClass, kMessengerBoxTitle);
    engine.MessengerBoxStep();
    desktop.Vanish(newer);
    engine.MessengerBoxStep();  // the older box is found again: counted already
    EXPECT_EQ(counters.popupTotal, 2);

    desktop.Vanish(older);
    engine.MessengerBoxStep();
    const WindowId again = desktop.AddInFront(kMessengerBoxClass, kMessengerBoxTitle, older);
    engine.MessengerBoxStep();  // a new box with the old box's handle
    EXPECT_EQ(desktop.closed.back(), again);
    EXPECT_EQ(counters.popupTotal, 3);
    EXPECT_EQ(sound.played.size(), 3u);
}

// The sweep is the user's own act: it closes by title, whatever program
// shows the window, and goes on past the windows it lets through.
TEST_F(PopupEngineTest, SweepTrimsTrailingBlanksAndSkipsHiddenEmptyAndAllowed)
{
    history.List().Add("Deal");
    allowed.List().Add("DEAL!");
    const WindowId blank = desktop.Add("Notepad", "Deal  \t");
    desktop.SetProgram(blank, "C:\\WINDOWS\\notepad.exe");
    desktop.Add("IEFrame", "Deal", false);
    desktop.Add("IEFrame", "   ");
    desktop.Add("IEFrame", "");
    desktop.Add("IEFrame", "DEAL!");  // allowed, in the same case
    const WindowId exact = desktop.Add("IEFrame", "DEAL");
    engine.SweepBlockedTitles();
    EXPECT_EQ(desktop.systemClosed, (Ids{blank, exact}));
    // The kill records the title as it stands: no entry begins with the
    // blank-ended one, so it is added ('DEAL' is covered by 'Deal').
    EXPECT_EQ(History(), (Lines{"Deal", "Deal  \t"}));
}

TEST_F(PopupEngineTest, CountKillByKindAlwaysSavesAndRefreshesNamedSoundsFromTheFolder)
{
    engine.CountKill(kKillKindAdware);
    engine.CountKill(7);
    EXPECT_EQ(counters.adwareTotal + counters.adwareRun + counters.popupTotal, 2);
    EXPECT_EQ(host.saves + host.refreshes, 4);

    engine.SetSoundFolder("C:\\Tarnelix\\Sound\\Default\\");
    engine.PlayNamedSound("D:\\Waves\\boom.wav");  // a backslash: a full path
    engine.PlayNamedSound("on.wav");
    engine.PlayNamedSound("");
    EXPECT_EQ(sound.played, (Lines{"D:\\Waves\\boom.wav", "C:\\Tarnelix\\Sound\\Default\\on.wav"}));
}
