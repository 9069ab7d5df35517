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

TEST_F(AddBannersTest, RefreshReplacesTheListWithVisibleTitlesOncePerCaseSensitiveMark)
{
    struct Window {
        const char* className;
        const char* title;
        bool visible;
    };
    const struct {
        std::vector<Window> windows;
        Lines entries;
    } cases[] = {
        {{{"Notepad", "Untitled - Notepad", true}, {"Shell_TrayWnd", "", true}}, {}},
        {{{"MozillaWindowClass", "Start - Mozilla", true}, {"Frame", "Netscape 7 (Mozilla based)", true}},
         {"Netscape 7 (Mozilla based)", "Netscape 7 (Mozilla based)", "Start - Mozilla"}},
        {{{"MozillaWindowClass", "start - mozilla", true}, {"IEFrame", "News - microsoft internet explorer", true}},
         {}},
        {{{"IEFrame", "News - Microsoft Internet Explorer", true},
          {"AIM", "Buddy List - AOL(R) Instant Messenger(TM)", true}},
         {"Buddy List - AOL(R) Instant Messenger(TM)", "News - Microsoft Internet Explorer"}},
        {{{"IEFrame", "Hidden - Microsoft Internet Explorer", false}}, {}},
        {{{"IEFrame", "Ad - Mozilla \t ", true}}, {"Ad - Mozilla"}},  // trailing white space trimmed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.windows.front().title);
        FakeDesktop screen;
        for (const Window& window : c.windows) {
            screen.Add(window.className, window.title, window.visible);
        }
        page.List().Add("Old - Mozilla");
        page.OnRefresh(screen);
        EXPECT_EQ(Entries(), c.entries);
    }
}

TEST_F(AddBannersTest, BlockThreeSelectedKillsEachAndWaits300MsForEach)
{
    const WindowId a = desktop.Add("IEFrame", "A - Mozilla");
    const WindowId b = desktop.Add("IEFrame", "B - Mozilla");
    const WindowId c = desktop.Add("IEFrame", "C - Mozilla");
    page.OnRefresh(desktop);
    SelectAll();
    page.OnBlock(desktop, kill);
    EXPECT_EQ(killed, (std::vector<WindowId>{a, b, c}));
    EXPECT_EQ(desktop.pauses, (std::vector<unsigned>{300, 300, 300}));
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

TEST_F(AddBannersTest, BlockOfAClosedWindowOrATrimmedTitleKillsNothingButDropsTheEntryAfterTheWait)
{
    const WindowId gone = desktop.Add("IEFrame", "Gone - Mozilla");
    desktop.Add("IEFrame", "Ad - Mozilla  ");  // listed trimmed: no window has that title
    page.OnRefresh(desktop);
    SelectAll();
    desktop.Vanish(gone);
    page.OnBlock(desktop, kill);
    EXPECT_TRUE(killed.empty());
    EXPECT_EQ(desktop.TotalPausedMs(), 600u);
    EXPECT_TRUE(page.List().IsEmpty());
}

TEST_F(AddBannersTest, BlockPassesOverUnselectedEntries)
{
    desktop.Add("IEFrame", "A - Mozilla");
    const WindowId b = desktop.Add("IEFrame", "B - Mozilla");
    page.OnRefresh(desktop);
    page.List().SetSelected(1, true);
    page.OnBlock(desktop, kill);
    EXPECT_EQ(killed, (std::vector<WindowId>{b}));
    EXPECT_EQ(Entries(), (Lines{"A - Mozilla"}));
}
