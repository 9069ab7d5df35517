#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Counters.h"
#include "app/core/PopupEngine.h"
#include "pages/AddBanners.h"
#include "pages/AllowedBanners.h"
#include "pages/BlockedHistory.h"
#include "pages/ListFileIo.h"
#include "platform/TextCompare.h"
#include "support/FakeDesktop.h"
#include "support/FakeSettings.h"
#include "support/MemoryFileStore.h"

namespace {

using Ids = std::vector<WindowId>;
using Lines = std::vector<std::string>;

const std::string kFolder = "C:\\Tarnelix\\";
const std::string kHistoryPath = kFolder + kHistoryFileName;
const std::string kKillSound = "C:\\Sounds\\kill.wav";

// The main window's side: check boxes as plain flags, and the counters
// saved to a fake registry as the real window does.
class FakeEngineHost final : public IEngineHost {
public:
    FakeEngineHost(FakeSettings& settings, Counters& counters) : settings(settings), counters(counters) {}

    bool disable = false;
    bool autoBlock = true;
    bool playSound = true;
    bool notification = true;
    int notices = 0;
    int refreshes = 0;
    int saves = 0;

    bool IsDisableChecked() const override { return disable; }
    bool IsAutoBlockChecked() const override { return autoBlock; }
    bool IsPlaySoundChecked() const override { return playSound; }
    bool IsNotificationChecked() const override { return notification; }
    void ShowKillNotice() override { ++notices; }
    void RefreshCounterDisplay() override { ++refreshes; }
    void SaveCounters() override
    {
        ++saves;
        ::SaveCounters(settings, counters);
    }

private:
    FakeSettings& settings;
    Counters& counters;
};

class PopupEngineTest : public ::testing::Test {
protected:
    PopupEngineTest() { engine.SetKillSoundPath(kKillSound); }

    Lines History() const
    {
        Lines texts;
        for (std::size_t i = 0; i < history.List().Count(); ++i) {
            texts.push_back(history.List().TextAt(i));
        }
        return texts;
    }
    std::size_t HistorySaves() const
    {
        return static_cast<std::size_t>(
            std::count(store.createdPaths.begin(), store.createdPaths.end(), TemporaryPathFor(kHistoryPath)));
    }
    // Nothing closed, counted, announced or recorded.
    void ExpectLetThrough() const
    {
        EXPECT_TRUE(desktop.posted.empty());
        EXPECT_EQ(counters.popupTotal, 0);
        EXPECT_EQ(counters.popupRun, 0);
        EXPECT_EQ(host.saves, 0);
        EXPECT_EQ(host.notices, 0);
        EXPECT_TRUE(sound.played.empty());
        EXPECT_TRUE(history.List().IsEmpty());
    }

    FakeDesktop desktop;
    FakeSoundPlayer sound;
    FakeSettings settings;
    MemoryFileStore store;
    AsciiTextCompare compare;
    Counters counters;
    FakeEngineHost host{settings, counters};
    AllowedBanners allowed{store, compare, kFolder + kAllowedFileName};
    BlockedHistory history{store, compare, kHistoryPath};
    CPopupEngine engine{desktop, sound, host, allowed, history, counters};
};

}  // namespace

TEST_F(PopupEngineTest, KillClosesSoundsNotifiesCountsAndRecords)
{
    const WindowId popup = desktop.Add("IEFrame", "Win a prize - Microsoft Internet Explorer");
    EXPECT_TRUE(engine.KillPopupWindow(popup));
    EXPECT_EQ(desktop.SystemClosed(), (Ids{popup}));
    EXPECT_TRUE(desktop.Closed().empty());
    EXPECT_EQ(sound.played, (Lines{kKillSound}));
    EXPECT_EQ(host.notices, 1);
    EXPECT_EQ(counters.popupTotal, 1);
    EXPECT_EQ(counters.popupRun, 1);
    EXPECT_EQ(host.saves, 1);
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_EQ(settings.GetProfileString("Settings", "PopupCounter", ""), "1");
    EXPECT_EQ(History(), (Lines{"Win a prize - Microsoft Internet Explorer"}));
    EXPECT_EQ(store.files[kHistoryPath], "BLK:Win a prize - Microsoft Internet Explorer\r\n");
}

TEST_F(PopupEngineTest, KillWithoutSoundNoticeOrSoundFileStillCounts)
{
    host.playSound = false;
    host.notification = false;
    EXPECT_TRUE(engine.KillPopupWindow(desktop.Add("IEFrame", "Ad")));
    host.playSound = true;
    engine.SetKillSoundPath("");
    EXPECT_TRUE(engine.KillPopupWindow(desktop.Add("IEFrame", "Ad 2")));
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(host.notices, 0);
    EXPECT_EQ(counters.popupTotal, 2);
}

TEST_F(PopupEngineTest, NullOrVanishedWindowIsNeitherClosedCountedNorRecorded)
{
    EXPECT_FALSE(engine.KillPopupWindow(0));
    const WindowId popup = desktop.Add("IEFrame", "Ad");
    desktop.Vanish(popup);
    EXPECT_FALSE(engine.KillPopupWindow(popup));
    engine.OnKillPopupWindowMessage(popup);
    host.autoBlock = false;
    engine.OnNewWindowCreatedMessage(popup);
    ExpectLetThrough();
    EXPECT_EQ(desktop.failedPosts, 0u);
    EXPECT_EQ(HistorySaves(), 0u);
}

TEST_F(PopupEngineTest, KillMessageLetsThroughOnCtrlSameCaseAllowedEntryOrAutoBlockOff)
{
    desktop.ctrlDown = true;
    engine.OnKillPopupWindowMessage(desktop.Add("IEFrame", "New window"));
    desktop.ctrlDown = false;
    allowed.List().Add("Bank");
    engine.OnKillPopupWindowMessage(desktop.Add("IEFrame", "My Bank - Browser"));
    host.autoBlock = false;
    engine.OnKillPopupWindowMessage(desktop.Add("IEFrame", "Ad"));
    ExpectLetThrough();
}

TEST_F(PopupEngineTest, AllowedEntryInOtherCaseDoesNotProtect)
{
    allowed.List().Add("Bank");
    const WindowId popup = desktop.Add("IEFrame", "my bank - browser");
    engine.OnKillPopupWindowMessage(popup);
    EXPECT_EQ(desktop.SystemClosed(), (Ids{popup}));
    EXPECT_EQ(counters.popupTotal, 1);
}

TEST_F(PopupEngineTest, ShorterTitleThanAHistoryEntryIsCountedButNotRecorded)
{
    history.List().Add("Offer of the day");
    EXPECT_TRUE(engine.KillPopupWindow(desktop.Add("IEFrame", "Offer")));
    EXPECT_EQ(counters.popupTotal, 1);
    EXPECT_EQ(History(), (Lines{"Offer of the day"}));
    EXPECT_EQ(HistorySaves(), 0u);
}

TEST_F(PopupEngineTest, NewWindowMessageKillsOnlyWithAutoBlockOffAWholeHistoryTitleInAnyCase)
{
    store.files[kHistoryPath] = "BLK:\r\nBLK:Deal\r\n";  // the bare entry must not match untitled windows
    history.LoadFromFile();
    const WindowId deal = desktop.Add("IEFrame", "deal");
    engine.OnNewWindowCreatedMessage(deal);  // AutoBlock on: not this path's business
    EXPECT_TRUE(desktop.posted.empty());

    host.autoBlock = false;
    engine.OnNewWindowCreatedMessage(desktop.Add("Internet Explorer_Server", ""));
    engine.OnNewWindowCreatedMessage(desktop.Add("IEFrame", "Deal of the day"));
    engine.OnNewWindowCreatedMessage(desktop.Add("IEFrame", "Deal "));
    engine.OnNewWindowCreatedMessage(deal);
    EXPECT_EQ(desktop.SystemClosed(), (Ids{deal}));
    EXPECT_EQ(counters.popupTotal, 1);
}

TEST_F(PopupEngineTest, SweepTrimsTrailingBlanksAndSkipsHiddenAndEmpty)
{
    history.List().Add("Deal");
    const WindowId blank = desktop.Add("IEFrame", "Deal  \t");
    desktop.Add("IEFrame", "Deal", false);
    desktop.Add("IEFrame", "   ");
    desktop.Add("IEFrame", "");
    const WindowId exact = desktop.Add("IEFrame", "DEAL");
    engine.SweepBlockedTitles();
    EXPECT_EQ(desktop.SystemClosed(), (Ids{blank, exact}));
    EXPECT_EQ(counters.popupTotal, 2);
    // The kill records the title as it stands: no entry begins with the
    // blank-ended one, so it is added ('DEAL' is covered by 'Deal').
    EXPECT_EQ(History(), (Lines{"Deal", "Deal  \t"}));
}

TEST_F(PopupEngineTest, SweepGoesOnPastWindowsThatAreLetThrough)
{
    history.List().Add("Deal");
    allowed.List().Add("Deal");
    desktop.Add("IEFrame", "Deal");  // allowed: same case
    const WindowId other = desktop.Add("IEFrame", "deal");
    engine.SweepBlockedTitles();
    EXPECT_EQ(desktop.SystemClosed(), (Ids{other}));
}

TEST_F(PopupEngineTest, DisableStopsEveryPath)
{
    host.disable = true;
    history.List().Add("Deal");
    const WindowId deal = desktop.Add("IEFrame", "Deal");
    desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle);
    desktop.Add(kScriptErrorClass, kScriptErrorTitle);
    desktop.Add(kMessengerBoxClass, kMessengerBoxTitle);
    EXPECT_FALSE(engine.KillPopupWindow(deal));
    engine.OnKillPopupWindowMessage(deal);
    engine.SweepBlockedTitles();
    engine.BrowserBoxStep();
    engine.MessengerBoxStep();
    host.autoBlock = false;
    engine.OnNewWindowCreatedMessage(deal);
    EXPECT_TRUE(desktop.posted.empty());
    EXPECT_EQ(counters.popupTotal, 0);
    EXPECT_EQ(host.saves, 0);
}

TEST_F(PopupEngineTest, DisableStopsBlockOnTheAddPopupsPageButNotItsPauses)
{
    host.disable = true;
    AddBanners page{compare};
    desktop.Add("IEFrame", "A - Mozilla");
    desktop.Add("IEFrame", "B - Mozilla");
    page.OnRefresh(desktop);
    page.List().SetSelected(0, true);
    page.List().SetSelected(1, true);
    page.OnBlock(desktop, [&](WindowId window) { engine.KillPopupWindow(window); });
    EXPECT_TRUE(desktop.posted.empty());
    EXPECT_EQ(counters.popupTotal, 0);
    EXPECT_TRUE(page.List().IsEmpty());
    EXPECT_EQ(desktop.TotalPausedMs(), 600u);
}

TEST_F(PopupEngineTest, ShellEmbeddingIsKilledOnlyUntitledWithTheExactStyle)
{
    struct Case {
        const char* title;
        std::uint32_t style;
        bool killed;
    };
    const Case cases[] = {
        {"", kBareShellEmbeddingStyle, true},
        {"", kBareShellEmbeddingStyle | 0x00080000u, false},  // WS_SYSMENU
        {"", kBareShellEmbeddingStyle & ~0x00010000u, false},
        {"Shop", kBareShellEmbeddingStyle, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.title << "\" style " << std::hex << c.style);
        desktop.posted.clear();
        const WindowId shell = desktop.Add(kShellEmbeddingClass, c.title, true, c.style);
        engine.BrowserBoxStep();
        EXPECT_EQ(desktop.SystemClosed(), c.killed ? Ids{shell} : Ids{});
        desktop.Vanish(shell);
    }
    EXPECT_EQ(counters.popupTotal, 1);
    EXPECT_TRUE(history.List().IsEmpty());  // an empty title is not recorded
}

TEST_F(PopupEngineTest, OnlyTheFirstShellEmbeddingIsJudged)
{
    desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle | 0x00080000u);
    desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle);  // waits for a later tick
    engine.BrowserBoxStep();
    EXPECT_TRUE(desktop.posted.empty());
}

TEST_F(PopupEngineTest, ScriptErrorBoxesCloseOnePerTickBesideAShellEmbedding)
{
    const WindowId shell = desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle);
    const WindowId first = desktop.Add(kScriptErrorClass, kScriptErrorTitle);
    const WindowId second = desktop.Add(kScriptErrorClass, kScriptErrorTitle);
    engine.BrowserBoxStep();
    EXPECT_EQ(desktop.SystemClosed(), (Ids{shell, first}));
    desktop.Vanish(shell);  // the posted closes took effect before the next tick
    desktop.Vanish(first);
    engine.BrowserBoxStep();
    EXPECT_EQ(desktop.SystemClosed(), (Ids{shell, first, second}));
    EXPECT_EQ(counters.popupTotal, 3);
    EXPECT_EQ(History(), (Lines{kScriptErrorTitle}));
}

TEST_F(PopupEngineTest, ScriptErrorBoxHonoursCtrl)
{
    desktop.ctrlDown = true;
    desktop.Add(kScriptErrorClass, kScriptErrorTitle);
    engine.BrowserBoxStep();
    ExpectLetThrough();
}

TEST_F(PopupEngineTest, MessengerBoxIsClosedCountedButNotRecordedDespiteCtrlOrAllowedEntry)
{
    desktop.ctrlDown = true;
    allowed.List().Add("Messenger");
    const WindowId box = desktop.Add(kMessengerBoxClass, kMessengerBoxTitle);
    engine.MessengerBoxStep();
    EXPECT_EQ(desktop.Closed(), (Ids{box}));
    EXPECT_TRUE(desktop.SystemClosed().empty());
    EXPECT_EQ(sound.played, (Lines{kKillSound}));
    EXPECT_EQ(host.notices, 1);
    EXPECT_EQ(counters.popupTotal, 1);
    EXPECT_EQ(counters.popupRun, 1);
    EXPECT_EQ(host.saves, 1);
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_TRUE(history.List().IsEmpty());
}

TEST_F(PopupEngineTest, MessengerBoxesCloseOnePerTickAndOneStillOpenIsCountedOnce)
{
    const WindowId box = desktop.Add(kMessengerBoxClass, kMessengerBoxTitle);
    const WindowId next = desktop.Add(kMessengerBoxClass, kMessengerBoxTitle);
    engine.MessengerBoxStep();
    engine.MessengerBoxStep();  // its owner has not handled the first close yet
    EXPECT_EQ(desktop.Closed(), (Ids{box, box}));
    EXPECT_EQ(counters.popupTotal, 1);
    EXPECT_EQ(host.notices, 1);
    EXPECT_EQ(sound.played.size(), 1u);

    desktop.Vanish(box);
    engine.MessengerBoxStep();
    EXPECT_EQ(desktop.Closed().back(), next);
    EXPECT_EQ(counters.popupTotal, 2);
}

TEST_F(PopupEngineTest, MessengerTitleWithoutTrailingBlankDoesNotMatch)
{
    desktop.Add(kMessengerBoxClass, "Messenger Service");
    desktop.Add("OtherClass", kMessengerBoxTitle);
    engine.MessengerBoxStep();
    EXPECT_TRUE(desktop.posted.empty());
    EXPECT_EQ(counters.popupTotal, 0);
}

TEST_F(PopupEngineTest, CountKillCountsPopupAndAdwareKindsAndAlwaysSavesAndRefreshes)
{
    counters = Counters{12, 0, 3, 0, 5};
    engine.CountKill(kKillKindPopup);
    engine.CountKill(kKillKindAdware);
    engine.CountKill(7);
    EXPECT_EQ(counters.popupTotal, 13);
    EXPECT_EQ(counters.popupRun, 1);
    EXPECT_EQ(counters.adwareTotal, 4);
    EXPECT_EQ(counters.adwareRun, 1);
    EXPECT_EQ(host.saves, 3);
    EXPECT_EQ(host.refreshes, 3);
    EXPECT_EQ(settings.GetProfileString("Settings", "AdwareCounter", ""), "4");
}

TEST_F(PopupEngineTest, NamedSoundWithBackslashIsAFullPath)
{
    engine.SetSoundFolder("C:\\Tarnelix\\Sound\\Default\\");
    engine.PlayNamedSound("D:\\Waves\\boom.wav");
    engine.PlayNamedSound("on.wav");
    engine.PlayNamedSound("");
    EXPECT_EQ(sound.played, (Lines{"D:\\Waves\\boom.wav", "C:\\Tarnelix\\Sound\\Default\\on.wav"}));
}
