#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pages/AddBanners.h"
#include "pages/AllowedBanners.h"
#include "pages/BlockedHistory.h"
#include "pages/ListFileIo.h"
#include "platform/TextCompare.h"
#include "support/FakeDesktop.h"
#include "support/ListTexts.h"
#include "support/MemoryFileStore.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kAllowedPath = std::string("C:\\Tarnelix\\") + kAllowedFileName;
const std::string kHistoryPath = std::string("C:\\Tarnelix\\") + kHistoryFileName;

// Shift-JIS-like code page: lead bytes 0x81–0x9F and 0xE0–0xFC; the trail
// byte may be an ASCII letter ("\x83\x41" is katakana A, whose trail is 'A').
class DoubleByteCompare final : public ITextCompare {
public:
    int CompareNoCase(std::string_view a, std::string_view b) const override { return ascii.CompareNoCase(a, b); }
    std::string ToLower(std::string_view text) const override { return ascii.ToLower(text); }
    bool IsLeadByte(unsigned char byte) const override
    {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    }

private:
    AsciiTextCompare ascii;
};

void Select(SortedTextList& list, const Lines& texts)
{
    for (std::size_t i = 0; i < list.Count(); ++i) {
        list.SetSelected(i, std::find(texts.begin(), texts.end(), list.TextAt(i)) != texts.end());
    }
}

class ListPages : public ::testing::Test {
protected:
    // Every save writes the temporary file once before it replaces the list.
    std::size_t SavesOf(const std::string& path) const
    {
        return static_cast<std::size_t>(
            std::count(store.createdPaths.begin(), store.createdPaths.end(), TemporaryPathFor(path)));
    }

    MemoryFileStore store;
    AsciiTextCompare compare;
    AllowedBanners allowed{store, compare, kAllowedPath};
    BlockedHistory history{store, compare, kHistoryPath};
};

}  // namespace

// ---- Allowed sites page -----------------------------------------------------

TEST_F(ListPages, AllowedTitleContainsAnEntryInTheSameCaseStartingOnAWholeCharacter)
{
    EXPECT_FALSE(allowed.IsAllowed("My Bank"));  // empty list
    const DoubleByteCompare doubleByte;
    const struct {
        const char* entry;
        const char* title;
        bool doubleByteCodePage;
        bool isAllowed;
    } cases[] = {
        {"Bank", "My Bank - Browser", false, true},
        {"Bank", "Big Bank", false, true},
        {"Bank", "my bank", false, false},
        {"Bank", "Ban", false, false},
        {"", "x", false, true},  // an empty entry occurs in every title ...
        {"", "", false, false},  // ... but an untitled window is never allowed
        {"ABC", "\x83" "ABC", false, true},  // no trail bytes in a single-byte code page
        {"ABC", "\x83" "ABC", true, false},  // 'A' is the second half of katakana A
        {"BC", "\x83" "ABC", true, true},
        {"\x83" "A", "\x83" "ABC", true, true},
        {"AB", "\x83" "AAB", true, true},  // the later "AB" starts on a character
        {"AB", "\x83" "A" "\x83" "AB", true, false},
        {"\x83", "News\x83", true, true},  // a lead byte at the end stands alone
    };
    for (const auto& c : cases) {
        AllowedBanners page(store, c.doubleByteCodePage ? static_cast<const ITextCompare&>(doubleByte) : compare,
                            kAllowedPath);
        page.List().AddAll({"Aaa", c.entry});
        EXPECT_EQ(page.IsAllowed(c.title), c.isAllowed) << c.entry << " in " << c.title;
    }
}

TEST_F(ListPages, AddPopupRefusesEmptyTextOrTheBeginningOfAnEntryAndKeepsBlanksAsTyped)
{
    allowed.List().Add("shopping site");
    EXPECT_FALSE(allowed.OnAddPopup("Shop"));
    EXPECT_FALSE(allowed.OnAddPopup(""));
    EXPECT_EQ(SavesOf(kAllowedPath), 0u);
    EXPECT_TRUE(allowed.OnAddPopup("  News "));
    EXPECT_TRUE(allowed.OnAddPopup("shopping site news"));
    EXPECT_EQ(SavesOf(kAllowedPath), 2u);
    EXPECT_EQ(store.files[kAllowedPath], "  News \r\nshopping site\r\nshopping site news\r\n");
}

TEST_F(ListPages, AReloadAfterAFailedSaveSavesFirstAndKeepsTheChangeWhileTheFileIsLocked)
{
    store.files[kAllowedPath] = "old\r\n";
    store.files[kHistoryPath] = "BLK:old\r\n";
    allowed.LoadFromFile();
    history.LoadFromFile();
    store.failMove = true;  // e.g. another program holds the file open
    allowed.OnAddPopup("new");
    history.AddTitle("new");
    EXPECT_FALSE(allowed.LoadFromFile());
    EXPECT_FALSE(history.LoadFromFile());
    EXPECT_EQ(Texts(allowed.List()), (Lines{"new", "old"}));
    EXPECT_EQ(Texts(history.List()), (Lines{"new", "old"}));
    EXPECT_EQ(store.files[kHistoryPath], "BLK:old\r\n");
    EXPECT_TRUE(allowed.Unsaved() && history.Unsaved());
    store.failMove = false;
    EXPECT_TRUE(allowed.LoadFromFile());
    EXPECT_TRUE(history.LoadFromFile());
    EXPECT_EQ(store.files[kAllowedPath], "new\r\nold\r\n");
    EXPECT_EQ(store.files[kHistoryPath], "BLK:new\r\nBLK:old\r\n");
    EXPECT_FALSE(allowed.Unsaved() || history.Unsaved());
}

// A file that exists but cannot be read (held, no read access) could still
// be renamed over: saving the list as it stands would lose the file's
// entries, reading it as empty would lose the list's.
TEST_F(ListPages, AFileThatCannotBeReadIsNeitherEmptiedNorReplacedAndJoinsTheListOnceReadable)
{
    store.files[kAllowedPath] = "zeta\r\nold\r\n";
    store.files[kHistoryPath] = "BLK:zeta\r\nBLK:old\r\n";
    allowed.LoadFromFile();
    history.LoadFromFile();
    store.unopenable = {kAllowedPath, kHistoryPath};
    int refills = 0;
    std::vector<std::size_t> shown;
    allowed.SetListChanged([&] { ++refills; });
    history.SetTitleAdded([&](std::size_t index) { shown.push_back(index); });
    EXPECT_FALSE(allowed.LoadFromFile());
    EXPECT_FALSE(history.LoadFromFile());
    EXPECT_EQ(Texts(allowed.List()), (Lines{"old", "zeta"})) << "kept, not emptied";
    allowed.List().Clear();  // as at a start-up that finds the file unreadable
    history.List().Clear();
    allowed.OnAddPopup("new");
    history.AddTitle("new");
    EXPECT_TRUE(allowed.Unsaved() && history.Unsaved());
    EXPECT_EQ(store.files[kAllowedPath], "zeta\r\nold\r\n");
    EXPECT_EQ(store.files[kHistoryPath], "BLK:zeta\r\nBLK:old\r\n");
    store.unopenable.clear();
    EXPECT_TRUE(allowed.SaveToFile());
    EXPECT_TRUE(history.SaveToFile());
    EXPECT_EQ(store.files[kAllowedPath], "new\r\nold\r\nzeta\r\n");
    EXPECT_EQ(store.files[kHistoryPath], "BLK:new\r\nBLK:old\r\nBLK:zeta\r\n");
    EXPECT_EQ(refills, 1);
    EXPECT_EQ(shown, (std::vector<std::size_t>{0, 1, 2})) << "the list box inserts each at its place";
    // A missing file is an empty list, as before.
    store.files.erase(kAllowedPath);
    EXPECT_FALSE(allowed.LoadFromFile());
    EXPECT_TRUE(allowed.List().IsEmpty());
}

// ---- Blocked history page ---------------------------------------------------

TEST_F(ListPages, HistoryRecordsATitleUnlessEmptyOrTheBeginningOfAnEntryIgnoringCase)
{
    EXPECT_FALSE(history.AddTitle(""));  // even on an empty list
    EXPECT_TRUE(history.AddTitle("Offer of the day"));
    EXPECT_EQ(store.files[kHistoryPath], "BLK:Offer of the day\r\n");
    EXPECT_FALSE(history.AddTitle("Offer of the day"));
    EXPECT_FALSE(history.AddTitle("OFFER OF THE DAY"));
    EXPECT_FALSE(history.AddTitle("Offer"));
    EXPECT_TRUE(history.AddTitle("Offer of the day - Browser"));
    EXPECT_EQ(Texts(history.List()), (Lines{"Offer of the day", "Offer of the day - Browser"}));
    EXPECT_EQ(SavesOf(kHistoryPath), 2u);
}

TEST_F(ListPages, BlockedTitleEqualsAnEntryIgnoringCaseAndABareBlkLineBlocksNoUntitledWindow)
{
    store.files[kHistoryPath] = "BLK:\r\nBLK:Deal\r\n";
    history.LoadFromFile();
    EXPECT_EQ(Texts(history.List()), (Lines{"", "Deal"}));
    EXPECT_TRUE(history.IsBlockedTitle("dEAL"));
    for (const char* title : {"Deal of the day", "Dea", "Deal ", ""}) {
        EXPECT_FALSE(history.IsBlockedTitle(title)) << title;
    }
}

TEST_F(ListPages, AllowMovesTheSelectedTitlesSavingTheAllowedListPerTitleAndTheHistoryOnce)
{
    history.OnAllow(allowed);  // empty history: nothing at all is saved
    EXPECT_TRUE(store.createdPaths.empty());

    allowed.List().Add("CASINO");
    history.List().AddAll({"Casino", "Deal", "Lottery"});
    history.OnAllow(allowed);  // nothing selected: the history alone is saved
    EXPECT_EQ(SavesOf(kHistoryPath), 1u);
    EXPECT_EQ(SavesOf(kAllowedPath), 0u);

    Select(history.List(), {"Casino", "Lottery"});
    history.OnAllow(allowed);
    EXPECT_EQ(SavesOf(kHistoryPath), 2u);
    EXPECT_EQ(SavesOf(kAllowedPath), 2u);
    // No duplicate test; a text equal but for case goes after the old one.
    EXPECT_EQ(store.files[kAllowedPath], "CASINO\r\nCasino\r\nLottery\r\n");
    EXPECT_EQ(store.files[kHistoryPath], "BLK:Deal\r\n");
}

// ---- Add popups page --------------------------------------------------------

TEST(AddBanners, RefreshListsEachVisibleTitleOncePerCaseSensitiveMarkItHolds)
{
    FakeDesktop desktop;
    desktop.Add("Notepad", "Untitled - Notepad");
    desktop.Add("Shell_TrayWnd", "");
    desktop.Add("MozillaWindowClass", "Start - Mozilla");
    desktop.Add("Frame", "Netscape 7 (Mozilla based)");  // two marks: listed twice
    desktop.Add("MozillaWindowClass", "start - mozilla");
    desktop.Add("IEFrame", "News - microsoft internet explorer");
    desktop.Add("IEFrame", "News - Microsoft Internet Explorer");
    desktop.Add("AIM", "Buddy List - AOL(R) Instant Messenger(TM)");
    desktop.Add("IEFrame", "Hidden - Microsoft Internet Explorer", false);
    desktop.Add("IEFrame", "Ad - Mozilla \t ");
    const AsciiTextCompare compare;
    AddBanners page(compare);
    page.List().Add("Old - Mozilla");
    page.OnRefresh(desktop);
    EXPECT_EQ(Texts(page.List()),
              (Lines{"Ad - Mozilla", "Buddy List - AOL(R) Instant Messenger(TM)", "Netscape 7 (Mozilla based)",
                     "Netscape 7 (Mozilla based)", "News - Microsoft Internet Explorer", "Start - Mozilla"}));
}

TEST(AddBanners, BlockKillsEachSelectedTitleStillOpenAndWaits300MsForEveryOne)
{
    FakeDesktop desktop;
    const AsciiTextCompare compare;
    AddBanners page(compare);
    std::vector<WindowId> killed;
    const auto kill = [&](WindowId window) { killed.push_back(window); };
    const WindowId a = desktop.Add("IEFrame", "A - Mozilla");
    desktop.Add("IEFrame", "B - Mozilla");
    const WindowId gone = desktop.Add("IEFrame", "C - Mozilla");
    desktop.Add("IEFrame", "D - Mozilla  ");  // listed trimmed: no window has that title
    page.OnRefresh(desktop);
    page.OnBlock(desktop, kill);  // nothing selected
    EXPECT_TRUE(desktop.pauses.empty());

    Select(page.List(), {"A - Mozilla", "C - Mozilla", "D - Mozilla"});
    desktop.Vanish(gone);
    page.OnBlock(desktop, kill);
    EXPECT_EQ(killed, (std::vector<WindowId>{a}));
    EXPECT_EQ(desktop.pauses, (std::vector<unsigned>{300, 300, 300}));
    EXPECT_EQ(Texts(page.List()), (Lines{"B - Mozilla"}));
}

TEST_F(ListPages, RemoveDeletesTheSelectedEntriesAndSavesOnceEvenWithNoneSelected)
{
    store.files[kAllowedPath] = "a\r\nb\r\nc\r\nd\r\ne\r\n";
    allowed.LoadFromFile();
    allowed.OnRemove();
    EXPECT_EQ(SavesOf(kAllowedPath), 1u);
    Select(allowed.List(), {"b", "c", "d"});
    allowed.OnRemove();
    EXPECT_EQ(SavesOf(kAllowedPath), 2u);
    EXPECT_EQ(store.files[kAllowedPath], "a\r\ne\r\n");

    history.List().AddAll({"A", "B", "C"});
    Select(history.List(), {"A", "C"});
    history.OnRemove();
    EXPECT_EQ(SavesOf(kHistoryPath), 1u);
    EXPECT_EQ(store.files[kHistoryPath], "BLK:B\r\n");
}
