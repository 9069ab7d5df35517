#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "pages/AllowedBanners.h"
#include "pages/BlockedHistory.h"
#include "pages/ListFileIo.h"
#include "platform/TextCompare.h"
#include "support/MemoryFileStore.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kFolder = "C:\\Tarnelix\\";
const std::string kHistoryPath = kFolder + kHistoryFileName;
const std::string kAllowedPath = kFolder + kAllowedFileName;

Lines Texts(const SortedTextList& list)
{
    Lines texts;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        texts.push_back(list.TextAt(i));
    }
    return texts;
}

class BlockedHistoryTest : public ::testing::Test {
protected:
    std::size_t SavesOf(const std::string& path) const
    {
        return static_cast<std::size_t>(
            std::count(store.createdPaths.begin(), store.createdPaths.end(), TemporaryPathFor(path)));
    }
    void Select(const std::string& text)
    {
        for (std::size_t i = 0; i < history.List().Count(); ++i) {
            if (history.List().TextAt(i) == text) {
                history.List().SetSelected(i, true);
            }
        }
    }

    MemoryFileStore store;
    AsciiTextCompare compare;
    BlockedHistory history{store, compare, kHistoryPath};
    AllowedBanners allowed{store, compare, kAllowedPath};
};

}  // namespace

TEST_F(BlockedHistoryTest, AddTitleRecordsAndSavesOnceRefusingEmptyRepeatedOrBeginningTitles)
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

TEST_F(BlockedHistoryTest, BlockedTitleMatchesWholeTitleIgnoringCaseAndABareBlkLineNoUntitledWindow)
{
    store.files[kHistoryPath] = "BLK:\r\nBLK:Deal\r\n";
    history.LoadFromFile();
    EXPECT_EQ(Texts(history.List()), (Lines{"", "Deal"}));
    EXPECT_TRUE(history.IsBlockedTitle("deal"));
    EXPECT_TRUE(history.IsBlockedTitle("DEAL"));
    EXPECT_FALSE(history.IsBlockedTitle("Deal of the day"));
    EXPECT_FALSE(history.IsBlockedTitle("Dea"));
    EXPECT_FALSE(history.IsBlockedTitle("Deal "));
    EXPECT_FALSE(history.IsBlockedTitle(""));
}

TEST_F(BlockedHistoryTest, RemoveDeletesSelectedAndSavesOnce)
{
    history.List().AddAll({"A", "B", "C"});
    Select("A");
    Select("C");
    history.OnRemove();
    EXPECT_EQ(Texts(history.List()), (Lines{"B"}));
    EXPECT_EQ(SavesOf(kHistoryPath), 1u);
    EXPECT_EQ(store.files[kHistoryPath], "BLK:B\r\n");
}

TEST_F(BlockedHistoryTest, AllowTwoSelectedWritesAllowedTwiceWithoutDuplicateTestAndHistoryOnce)
{
    allowed.List().Add("Casino");
    history.List().AddAll({"Casino", "Deal", "Lottery"});
    Select("Casino");
    Select("Lottery");
    history.OnAllow(allowed);
    EXPECT_EQ(Texts(history.List()), (Lines{"Deal"}));
    EXPECT_EQ(Texts(allowed.List()), (Lines{"Casino", "Casino", "Lottery"}));
    EXPECT_EQ(SavesOf(kAllowedPath), 2u);
    EXPECT_EQ(SavesOf(kHistoryPath), 1u);
    EXPECT_EQ(store.files[kAllowedPath], "Casino\r\nCasino\r\nLottery\r\n");
    EXPECT_EQ(store.files[kHistoryPath], "BLK:Deal\r\n");
}

TEST_F(BlockedHistoryTest, AllowSavesNothingOnAnEmptyListAndOnlyTheHistoryWithNothingSelected)
{
    history.OnAllow(allowed);
    EXPECT_TRUE(store.createdPaths.empty());
    store.files[kHistoryPath] = "BLK:Deal\r\n";
    history.LoadFromFile();
    history.OnAllow(allowed);
    EXPECT_EQ(SavesOf(kHistoryPath), 1u);
    EXPECT_EQ(SavesOf(kAllowedPath), 0u);
    EXPECT_EQ(store.files[kHistoryPath], "BLK:Deal\r\n");
}

TEST_F(BlockedHistoryTest, MoreThanTenThousandEntriesLoseTheLastSortedOnReload)
{
    std::string content;
    for (int i = 0; i < 10001; ++i) {
        char title[16];
        std::snprintf(title, sizeof title, "T%05d", i);
        content += std::string("BLK:") + title + "\r\n";
    }
    store.files[kHistoryPath] = content;
    history.LoadFromFile();
    EXPECT_EQ(history.List().Count(), 10000u);
    EXPECT_EQ(history.List().TextAt(9999), "T09999");
    history.SaveToFile();
    EXPECT_EQ(store.files[kHistoryPath].find("T10000"), std::string::npos);
}
