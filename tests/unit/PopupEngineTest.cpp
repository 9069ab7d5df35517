#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/core/Counters.h"
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

TEST_F(PopupEngineTest, KillWithoutSoundOrNoticeStillCounts)
{
    host.playSound = false;
    host.notification = false;
    EXPECT_TRUE(engine.KillPopupWindow(desktop.Add("IEFrame", "Ad")));
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(host.notices, 0);
    EXPECT_EQ(counters.popupTotal, 1);
}

TEST_F(PopupEngineTest, NullWindowIsIgnored)
{
    EXPECT_FALSE(engine.KillPopupWindow(0));
    ExpectLetThrough();
}

TEST_F(PopupEngineTest, VanishedWindowIsNeitherClosedCountedNorRecorded)
{
    const WindowId popup = desktop.Add("IEFrame", "Ad");
    desktop.Vanish(popup);
    EXPECT_FALSE(engine.KillPopupWindow(popup));
    ExpectLetThrough();
    EXPECT_EQ(desktop.failedPosts, 0u);
    EXPECT_EQ(HistorySaves(), 0u);
}

TEST_F(PopupEngineTest, VanishedWindowReportedByTheHookIsIgnored)
{
    const WindowId popup = desktop.Add("IEFrame", "Ad");
    desktop.Vanish(popup);
    engine.OnKillPopupWindowMessage(popup);
    host.autoBlock = false;
    engine.OnNewWindowCreatedMessage(popup);
    ExpectLetThrough();
}

TEST_F(PopupEngineTest, CtrlHeldLetsTheWindowThrough)
{
    desktop.ctrlDown = true;
    engine.OnKillPopupWindowMessage(desktop.Add("IEFrame", "New window"));
    ExpectLetThrough();
}

TEST_F(PopupEngineTest, AllowedEntryWithSameCaseLetsTheWindowThrough)
{
    allowed.List().Add("Bank");
    engine.OnKillPopupWindowMessage(desktop.Add("IEFrame", "My Bank - Browser"));
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

TEST_F(PopupEngineTest, KillMessageIsIgnoredWithAutoBlockOff)
{
    host.autoBlock = false;
    engine.OnKillPopupWindowMessage(desktop.Add("IEFrame", "Ad"));
    ExpectLetThrough();
}

TEST_F(PopupEngineTest, NewWindowMessageIsIgnoredWithAutoBlockOn)
{
    history.List().Add("Deal");
    engine.OnNewWindowCreatedMessage(desktop.Add("IEFrame", "Deal"));
    EXPECT_TRUE(desktop.posted.empty());
}

TEST_F(PopupEngineTest, AutoBlockOffKillsTitleEqualToHistoryEntryInOtherCase)
{
    host.autoBlock = false;
    history.List().Add("Deal");
    const WindowId deal = desktop.Add("IEFrame", "deal");
    const WindowId longer = desktop.Add("IEFrame", "Deal of the day");
    const WindowId blank = desktop.Add("IEFrame", "Deal ");
    engine.OnNewWindowCreatedMessage(deal);
    engine.OnNewWindowCreatedMessage(longer);
    engine.OnNewWindowCreatedMessage(blank);
    EXPECT_EQ(desktop.SystemClosed(), (Ids{deal}));
    EXPECT_EQ(counters.popupTotal, 1);
}

TEST_F(PopupEngineTest, AutoBlockOffLeavesUntitledChildWindowsAlone)
{
    host.autoBlock = false;
    store.files[kHistoryPath] = "BLK:\r\nBLK:Deal\r\n";
    history.LoadFromFile();
    engine.OnNewWindowCreatedMessage(desktop.Add("Internet Explorer_Server", ""));
    EXPECT_TRUE(desktop.posted.empty());
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
    desktop.Add("Shell Embedding", "", true, kBareShellEmbeddingStyle);
    desktop.Add(kScriptErrorClass, kScriptErrorTitle);
    desktop.Add("#32770", "Messenger Service ");
    EXPECT_FALSE(engine.KillPopupWindow(deal));
    engine.OnKillPopupWindowMessage(deal);
    host.autoBlock = false;
    engine.OnNewWindowCreatedMessage(deal);
    engine.SweepBlockedTitles();
    engine.BrowserBoxStep();
    engine.MessengerBoxStep();
    EXPECT_TRUE(desktop.posted.empty());
    EXPECT_EQ(counters.popupTotal, 0);
    EXPECT_EQ(host.saves, 0);
}

TEST_F(PopupEngineTest, DisableStopsBlockOnTheAddPopupsPage)
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

TEST_F(PopupEngineTest, BlockOfThreeSelectedClosesAndRecordsThem)
{
    AddBanners page{compare};
    const Ids windows{desktop.Add("IEFrame", "A - Mozilla"), desktop.Add("IEFrame", "B - Mozilla"),
                      desktop.Add("IEFrame", "C - Mozilla")};
    page.OnRefresh(desktop);
    for (std::size_t i = 0; i < 3; ++i) {
        page.List().SetSelected(i, true);
    }
    page.OnBlock(desktop, [&](WindowId window) { engine.KillPopupWindow(window); });
    EXPECT_EQ(desktop.SystemClosed(), windows);
    EXPECT_EQ(desktop.TotalPausedMs(), 900u);
    EXPECT_EQ(History(), (Lines{"A - Mozilla", "B - Mozilla", "C - Mozilla"}));
    EXPECT_EQ(counters.popupTotal, 3);
}

TEST_F(PopupEngineTest, BareShellEmbeddingWithExactStyleIsKilled)
{
    const WindowId shell = desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle);
    engine.BrowserBoxStep();
    EXPECT_EQ(desktop.SystemClosed(), (Ids{shell}));
    EXPECT_EQ(counters.popupTotal, 1);
    // An empty title is not recorded.
    EXPECT_TRUE(history.List().IsEmpty());
}

TEST_F(PopupEngineTest, ShellEmbeddingWithAnyExtraStyleBitIsLeftAlone)
{
    desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle | 0x00080000u);  // WS_SYSMENU
    desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle & ~0x00010000u);
    engine.BrowserBoxStep();
    EXPECT_TRUE(desktop.posted.empty());
}

TEST_F(PopupEngineTest, TitledShellEmbeddingIsLeftAlone)
{
    desktop.Add(kShellEmbeddingClass, "Shop", true, kBareShellEmbeddingStyle);
    engine.BrowserBoxStep();
    EXPECT_TRUE(desktop.posted.empty());
}

TEST_F(PopupEngineTest, OnlyTheFirstShellEmbeddingIsJudged)
{
    desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle | 0x00080000u);
    desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle);  // waits for a later tick
    engine.BrowserBoxStep();
    EXPECT_TRUE(desktop.posted.empty());
}

TEST_F(PopupEngineTest, TwoScriptErrorBoxesCloseOnePerTick)
{
    const WindowId first = desktop.Add(kScriptErrorClass, kScriptErrorTitle);
    const WindowId second = desktop.Add(kScriptErrorClass, kScriptErrorTitle);
    engine.BrowserBoxStep();
    EXPECT_EQ(desktop.SystemClosed(), (Ids{first}));
    desktop.Vanish(first);  // the posted close took effect before the next tick
    engine.BrowserBoxStep();
    EXPECT_EQ(desktop.SystemClosed(), (Ids{first, second}));
    EXPECT_EQ(counters.popupTotal, 2);
    EXPECT_EQ(History(), (Lines{kScriptErrorTitle}));
}

TEST_F(PopupEngineTest, BothBrowserBoxesCloseInOneTick)
{
    const WindowId shell = desktop.Add(kShellEmbeddingClass, "", true, kBareShellEmbeddingStyle);
    const WindowId error = desktop.Add(kScriptErrorClass, kScriptErrorTitle);
    engine.BrowserBoxStep();
    EXPECT_EQ(desktop.SystemClosed(), (Ids{shell, error}));
}

TEST_F(PopupEngineTest, ScriptErrorBoxHonoursCtrl)
{
    desktop.ctrlDown = true;
    desktop.Add(kScriptErrorClass, kScriptErrorTitle);
    engine.BrowserBoxStep();
    ExpectLetThrough();
}

TEST_F(PopupEngineTest, MessengerBoxIsClosedCountedButNotRecorded)
{
    const WindowId box = desktop.Add(kMessengerBoxClass, "Messenger Service ");
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

TEST_F(PopupEngineTest, MessengerBoxStillOpenOnTheNextTickIsClosedAgainButCountedOnce)
{
    const WindowId box = desktop.Add(kMessengerBoxClass, "Messenger Service ");
    engine.MessengerBoxStep();
    engine.MessengerBoxStep();  // its owner has not handled the first close yet
    EXPECT_EQ(desktop.Closed(), (Ids{box, box}));
    EXPECT_EQ(counters.popupTotal, 1);
    EXPECT_EQ(host.notices, 1);
    EXPECT_EQ(sound.played.size(), 1u);

    desktop.Vanish(box);
    const WindowId next = desktop.Add(kMessengerBoxClass, "Messenger Service ");
    engine.MessengerBoxStep();
    EXPECT_EQ(desktop.Closed().back(), next);
    EXPECT_EQ(counters.popupTotal, 2);
}

TEST_F(PopupEngineTest, MessengerTitleWithoutTrailingBlankDoesNotMatch)
{
    desktop.Add(kMessengerBoxClass, "Messenger Service");
    desktop.Add("OtherClass", "Messenger Service ");
    engine.MessengerBoxStep();
    EXPECT_TRUE(desktop.posted.empty());
    EXPECT_EQ(counters.popupTotal, 0);
}

TEST_F(PopupEngineTest, MessengerBoxIgnoresCtrlAndAllowedList)
{
    desktop.ctrlDown = true;
    allowed.List().Add("Messenger");
    const WindowId box = desktop.Add(kMessengerBoxClass, "Messenger Service ");
    engine.MessengerBoxStep();
    EXPECT_EQ(desktop.Closed(), (Ids{box}));
}

TEST_F(PopupEngineTest, MessengerBoxOnePerTick)
{
    const WindowId first = desktop.Add(kMessengerBoxClass, "Messenger Service ");
    desktop.Add(kMessengerBoxClass, "Messenger Service ");
    engine.MessengerBoxStep();
    EXPECT_EQ(desktop.Closed(), (Ids{first}));
}

TEST_F(PopupEngineTest, CountKillPopupAndAdwareThenSavesAndRefreshes)
{
    counters = Counters{12, 0, 3, 0, 5};
    engine.CountKill(kKillKindPopup);
    engine.CountKill(kKillKindAdware);
    EXPECT_EQ(counters.popupTotal, 13);
    EXPECT_EQ(counters.popupRun, 1);
    EXPECT_EQ(counters.adwareTotal, 4);
    EXPECT_EQ(counters.adwareRun, 1);
    EXPECT_EQ(host.saves, 2);
    EXPECT_EQ(host.refreshes, 2);
    EXPECT_EQ(settings.GetProfileString("Settings", "AdwareCounter", ""), "4");
}

TEST_F(PopupEngineTest, CountKillOfOtherKindStillSavesAndRefreshes)
{
    engine.CountKill(7);
    EXPECT_EQ(counters.popupTotal, 0);
    EXPECT_EQ(counters.adwareTotal, 0);
    EXPECT_EQ(host.saves, 1);
    EXPECT_EQ(host.refreshes, 1);
}

TEST_F(PopupEngineTest, NamedSoundWithBackslashIsAFullPath)
{
    engine.SetSoundFolder("C:\\Tarnelix\\Sound\\Default\\");
    engine.PlayNamedSound("D:\\Waves\\boom.wav");
    engine.PlayNamedSound("on.wav");
    engine.PlayNamedSound("");
    EXPECT_EQ(sound.played, (Lines{"D:\\Waves\\boom.wav", "C:\\Tarnelix\\Sound\\Default\\on.wav"}));
}

TEST_F(PopupEngineTest, EmptyKillSoundPlaysNothingButTheKillGoesOn)
{
    engine.SetKillSoundPath("");
    EXPECT_TRUE(engine.KillPopupWindow(desktop.Add("IEFrame", "Ad")));
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(counters.popupTotal, 1);
}
