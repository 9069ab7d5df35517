#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/AddBanners.h"
#include "platform/TextCompare.h"
#include "support/FakeDesktop.h"

namespace {

using Lines = std::vector<std::string>;

class AddBannersTest : public ::testing::Test {
protected:
    Lines Entries() const
    {
        Lines texts;
        for (std::size_t i = 0; i < page.List().Count(); ++i) {
            texts.push_back(page.List().TextAt(i));
        }
        return texts;
    }
    void SelectAll()
    {
        for (std::size_t i = 0; i < page.List().Count(); ++i) {
            page.List().SetSelected(i, true);
        }
    }

    FakeDesktop desktop;
    AsciiTextCompare compare;
    AddBanners page{compare};
    std::vector<WindowId> killed;
    std::function<void(WindowId)> kill = [this](WindowId window) { killed.push_back(window); };
};

}  // namespace

TEST_F(AddBannersTest, RefreshWithoutBrowserWindowsLeavesListEmpty)
{
    desktop.Add("Notepad", "Untitled - Notepad");
    desktop.Add("Shell_TrayWnd", "");
    page.OnRefresh(desktop);
    EXPECT_TRUE(page.List().IsEmpty());
}

TEST_F(AddBannersTest, RefreshListsEachMarkedTitleOncePerMark)
{
    desktop.Add("MozillaWindowClass", "Start - Mozilla");
    desktop.Add("Frame", "Netscape 7 (Mozilla based)");
    page.OnRefresh(desktop);
    EXPECT_EQ(Entries(), (Lines{"Netscape 7 (Mozilla based)", "Netscape 7 (Mozilla based)", "Start - Mozilla"}));
}

TEST_F(AddBannersTest, RefreshMarksAreCaseSensitive)
{
    desktop.Add("MozillaWindowClass", "start - mozilla");
    desktop.Add("IEFrame", "News - microsoft internet explorer");
    page.OnRefresh(desktop);
    EXPECT_TRUE(page.List().IsEmpty());
}

TEST_F(AddBannersTest, RefreshKnowsAllFourMarks)
{
    desktop.Add("IEFrame", "News - Microsoft Internet Explorer");
    desktop.Add("AIM", "Buddy List - AOL(R) Instant Messenger(TM)");
    page.OnRefresh(desktop);
    EXPECT_EQ(Entries(), (Lines{"Buddy List - AOL(R) Instant Messenger(TM)", "News - Microsoft Internet Explorer"}));
}

TEST_F(AddBannersTest, RefreshSkipsHiddenWindows)
{
    desktop.Add("IEFrame", "Hidden - Microsoft Internet Explorer", false);
    page.OnRefresh(desktop);
    EXPECT_TRUE(page.List().IsEmpty());
}

TEST_F(AddBannersTest, RefreshTrimsTrailingWhiteSpace)
{
    desktop.Add("IEFrame", "Ad - Mozilla \t ");
    page.OnRefresh(desktop);
    EXPECT_EQ(Entries(), (Lines{"Ad - Mozilla"}));
}

TEST_F(AddBannersTest, RefreshEmptiesTheOldList)
{
    page.List().Add("Old - Mozilla");
    page.OnRefresh(desktop);
    EXPECT_TRUE(page.List().IsEmpty());
}

TEST_F(AddBannersTest, BlockThreeSelectedKillsEachAndWaits900Ms)
{
    const WindowId a = desktop.Add("IEFrame", "A - Mozilla");
    const WindowId b = desktop.Add("IEFrame", "B - Mozilla");
    const WindowId c = desktop.Add("IEFrame", "C - Mozilla");
    page.OnRefresh(desktop);
    SelectAll();
    page.OnBlock(desktop, kill);
    EXPECT_EQ(killed, (std::vector<WindowId>{a, b, c}));
    EXPECT_EQ(desktop.pauses, (std::vector<unsigned>{300, 300, 300}));
    EXPECT_EQ(desktop.TotalPausedMs(), 900u);
    EXPECT_TRUE(page.List().IsEmpty());
}

TEST_F(AddBannersTest, BlockWithNothingSelectedDoesNothing)
{
    desktop.Add("IEFrame", "A - Mozilla");
    page.OnRefresh(desktop);
    page.OnBlock(desktop, kill);
    EXPECT_TRUE(killed.empty());
    EXPECT_TRUE(desktop.pauses.empty());
    EXPECT_EQ(page.List().Count(), 1u);
}

TEST_F(AddBannersTest, BlockOfAClosedWindowDropsTheEntryAfterTheWait)
{
    const WindowId gone = desktop.Add("IEFrame", "Gone - Mozilla");
    page.OnRefresh(desktop);
    SelectAll();
    desktop.Vanish(gone);
    page.OnBlock(desktop, kill);
    EXPECT_TRUE(killed.empty());
    EXPECT_EQ(desktop.TotalPausedMs(), 300u);
    EXPECT_TRUE(page.List().IsEmpty());
}

TEST_F(AddBannersTest, BlockOfATrimmedTitleFindsNoWindowWithTrailingBlanks)
{
    desktop.Add("IEFrame", "Ad - Mozilla  ");
    page.OnRefresh(desktop);
    SelectAll();
    page.OnBlock(desktop, kill);
    EXPECT_TRUE(killed.empty());
}

TEST_F(AddBannersTest, BlockPassesOverUnselectedEntries)
{
    desktop.Add("IEFrame", "A - Mozilla");
    const WindowId b = desktop.Add("IEFrame", "B - Mozilla");
    page.OnRefresh(desktop);
    page.List().SetSelected(1, true);
    page.OnBlock(desktop, kill);
    EXPECT_EQ(killed, (std::vector<WindowId>{b}));
    ASSERT_EQ(page.List().Count(), 1u);
    EXPECT_EQ(page.List().TextAt(0), "A - Mozilla");
}
