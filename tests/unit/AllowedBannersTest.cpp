#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pages/AllowedBanners.h"
#include "pages/ListFileIo.h"
#include "platform/TextCompare.h"
#include "support/MemoryFileStore.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kAllowedPath = std::string("C:\\Tarnelix\\") + kAllowedFileName;

class AllowedBannersTest : public ::testing::Test {
protected:
    Lines Entries() const
    {
        Lines texts;
        for (std::size_t i = 0; i < allowed.List().Count(); ++i) {
            texts.push_back(allowed.List().TextAt(i));
        }
        return texts;
    }
    // Every save writes the temporary file once before it replaces the list.
    std::size_t Saves() const
    {
        return static_cast<std::size_t>(
            std::count(store.createdPaths.begin(), store.createdPaths.end(), TemporaryPathFor(kAllowedPath)));
    }
    void Select(const std::string& text)
    {
        for (std::size_t i = 0; i < allowed.List().Count(); ++i) {
            if (allowed.List().TextAt(i) == text) {
                allowed.List().SetSelected(i, true);
            }
        }
    }

    MemoryFileStore store;
    AsciiTextCompare compare;
    AllowedBanners allowed{store, compare, kAllowedPath};
};

}  // namespace

TEST_F(AllowedBannersTest, TitleContainingAnEntryWithSameCaseIsAllowedButNeverAnEmptyTitle)
{
    EXPECT_FALSE(allowed.IsAllowed("My Bank"));  // empty list
    allowed.List().AddAll({"Bank", "Mail"});
    EXPECT_TRUE(allowed.IsAllowed("My Bank - Browser"));
    EXPECT_TRUE(allowed.IsAllowed("Webmail: Mail"));
    EXPECT_FALSE(allowed.IsAllowed("my bank"));
    EXPECT_FALSE(allowed.IsAllowed("Cheap Offers"));
    allowed.AddMoved("");
    EXPECT_FALSE(allowed.IsAllowed(""));
    EXPECT_TRUE(allowed.IsAllowed("x"));
}

TEST_F(AllowedBannersTest, AddPopupRefusesEmptyTextOrTextBeginningAnEntryAndKeepsBlanksAsTyped)
{
    allowed.List().Add("shopping site");
    EXPECT_FALSE(allowed.OnAddPopup("Shop"));
    EXPECT_FALSE(allowed.OnAddPopup(""));
    EXPECT_EQ(Saves(), 0u);
    EXPECT_TRUE(allowed.OnAddPopup("  News "));
    EXPECT_TRUE(allowed.OnAddPopup("shopping site news"));
    EXPECT_EQ(Entries(), (Lines{"  News ", "shopping site", "shopping site news"}));
    EXPECT_EQ(Saves(), 2u);
    EXPECT_EQ(store.files[kAllowedPath], "  News \r\nshopping site\r\nshopping site news\r\n");
}

TEST_F(AllowedBannersTest, RemoveDeletesThreeAdjacentSelectedAndSavesOnce)
{
    allowed.List().AddAll({"a", "b", "c", "d", "e"});
    Select("b");
    Select("c");
    Select("d");
    allowed.OnRemove();
    EXPECT_EQ(Entries(), (Lines{"a", "e"}));
    EXPECT_EQ(Saves(), 1u);
    EXPECT_EQ(store.files[kAllowedPath], "a\r\ne\r\n");
}

TEST_F(AllowedBannersTest, RemoveWithNothingSelectedRewritesTheFileUnchanged)
{
    store.files[kAllowedPath] = "Bank\r\nMail\r\n";
    allowed.LoadFromFile();
    allowed.OnRemove();
    EXPECT_EQ(Saves(), 1u);
    EXPECT_EQ(store.files[kAllowedPath], "Bank\r\nMail\r\n");
}

TEST_F(AllowedBannersTest, TitleMovedInTwiceIsListedAndSavedTwice)
{
    allowed.AddMoved("Title");
    allowed.AddMoved("Title");
    EXPECT_EQ(Entries(), (Lines{"Title", "Title"}));
    EXPECT_EQ(Saves(), 2u);
    EXPECT_EQ(store.files[kAllowedPath], "Title\r\nTitle\r\n");
}

TEST_F(AllowedBannersTest, LoadReplacesTheListWithTheFileAndAMissingFileEmptiesIt)
{
    allowed.List().Add("stale");
    store.files[kAllowedPath] = "Mail   \r\n\r\n   Bank\r\n";
    EXPECT_TRUE(allowed.LoadFromFile());
    EXPECT_EQ(Entries(), (Lines{"   Bank", "Mail"}));
    store.files.clear();
    EXPECT_FALSE(allowed.LoadFromFile());
    EXPECT_EQ(allowed.List().Count(), 0u);
}
