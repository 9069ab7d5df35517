#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "pages/ListFiles.h"
#include "platform/TextCompare.h"
#include "support/MemoryFileStore.h"

namespace {

const std::string kAllowed = "C:\\Tarnelix\\AllowBanners.dat";
const std::string kHistory = "C:\\Tarnelix\\BlockedHistory.dat";
const std::string kAdware = "C:\\Tarnelix\\Adware.dat";
const std::string kCookies = "C:\\Veilmark\\AllowCookies.dat";

using Lines = std::vector<std::string>;

Lines Texts(const SortedTextList& list)
{
    Lines texts;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        texts.push_back(list.TextAt(i));
    }
    return texts;
}

std::string GarbageBytes(std::size_t size, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

class ListFiles : public ::testing::Test {
protected:
    AsciiTextCompare compare;
    MemoryFileStore store;
    SortedTextList list{compare};
    AdwareList adware{compare};
};

}  // namespace

// --- "AllowBanners.dat" ---

TEST_F(ListFiles, AllowedTrimsTrailingBlanksKeepsLeadingOnesSkipsEmptyLinesAndSortsKeepingDuplicates)
{
    store.files[kAllowed] = "zed\t\r\nabc   \r\n   abc\r\n\r\n \t \r\nCharlie\nBravo\ncharlie\n";
    ASSERT_TRUE(ReadAllowedFile(store, kAllowed, list));
    EXPECT_EQ(Texts(list), (Lines{"   abc", "abc", "Bravo", "Charlie", "charlie", "zed"}));
}

TEST_F(ListFiles, MissingAndEmptyFilesGiveEmptyListsAndSaveCreatesTheFile)
{
    list.Add("left over");
    EXPECT_FALSE(ReadAllowedFile(store, kAllowed, list));
    EXPECT_EQ(list.Count(), 0u);

    store.files[kAllowed] = "";
    list.Add("left over");
    EXPECT_TRUE(ReadAllowedFile(store, kAllowed, list));
    EXPECT_EQ(list.Count(), 0u);

    store.files.clear();
    list.Add("beta");
    list.Add("Alpha");
    ASSERT_TRUE(WriteAllowedFile(store, kAllowed, list));
    EXPECT_EQ(store.files[kAllowed], "Alpha\r\nbeta\r\n");  // in list order, whatever the add order
}

TEST_F(ListFiles, FailedSaveKeepsTheListAndTheOldFile)
{
    store.files[kAllowed] = "old\r\n";
    ReadAllowedFile(store, kAllowed, list);
    list.Add("added");
    store.failWriteAfterBytes = 4;
    EXPECT_FALSE(WriteAllowedFile(store, kAllowed, list));
    EXPECT_EQ(store.files[kAllowed], "old\r\n");
    EXPECT_EQ(Texts(list), (Lines{"added", "old"}));
}

// --- "BlockedHistory.dat" ---

TEST_F(ListFiles, HistoryTakesOnlyExactPrefixTrimsTrailingBlanksAndSavesNoEmptyEntry)
{
    store.files[kHistory] = "blk:lower case\r\nBLK:Title  \t\r\nBLK: spaced\r\nBLK\r\nTitle only\r\n"
                            "  BLK:indented\r\nBLK:\r\nBLK:   \r\nBLK:Popup\r\n";
    ASSERT_TRUE(ReadBlockedHistoryFile(store, kHistory, list));
    EXPECT_EQ(Texts(list), (Lines{"", "", " spaced", "Popup", "Title"}));
    ASSERT_TRUE(WriteBlockedHistoryFile(store, kHistory, list));
    EXPECT_EQ(store.files[kHistory], "BLK: spaced\r\nBLK:Popup\r\nBLK:Title\r\n");
}

// --- "Adware.dat" ---

TEST_F(ListFiles, AdwareLineGivesLowerCaseKeyFlagAndName)
{
    store.files[kAdware] = "Foo.EXE FALSE Foo Tool\r\nfoo.exe true Foo\r\n";
    ASSERT_TRUE(ReadAdwareFile(store, kAdware, compare, adware));
    ASSERT_EQ(adware.Count(), 2u);
    EXPECT_EQ(adware.ItemAt(0).name, "Foo");
    EXPECT_TRUE(adware.ItemAt(0).checked);  // only "FALSE" clears the box
    EXPECT_EQ(adware.ItemAt(1).name, "Foo Tool");
    EXPECT_FALSE(adware.ItemAt(1).checked);
    EXPECT_EQ(adware.KeyTable().Lookup("Foo Tool"), "foo.exe");
    // Reading again replaces the list and the key table.
    ReadAdwareFile(store, kAdware, compare, adware);
    EXPECT_EQ(adware.Count(), 2u);
    EXPECT_EQ(adware.KeyTable().Count(), 2u);
}

TEST_F(ListFiles, AdwareLinesWithoutNameAndRepeatedNamesAddNothing)
{
    store.files[kAdware] =
        "key.exe\r\n\r\nkey.exe TRUE\r\nkey.exe TRUE   \r\nkey.exe\tTRUE\tName\r\n"
        "a.exe TRUE Foo Tool\r\nb.exe FALSE Foo Tool\r\nc.exe TRUE foo tool\r\n";
    ReadAdwareFile(store, kAdware, compare, adware);
    ASSERT_EQ(adware.Count(), 2u);
    EXPECT_EQ(adware.KeyTable().Lookup("Foo Tool"), "a.exe");
    EXPECT_TRUE(adware.ItemAt(0).checked);
    EXPECT_EQ(adware.KeyTable().Lookup("foo tool"), "c.exe");
    EXPECT_EQ(adware.KeyTable().Count(), 2u);
}

TEST_F(ListFiles, AdwareBlanksBetweenKeyAndFlagCollapseButNameBlanksStay)
{
    store.files[kAdware] = "  A.EXE   TRUE  Name \t\r\n";
    ReadAdwareFile(store, kAdware, compare, adware);
    ASSERT_TRUE(WriteAdwareFile(store, kAdware, adware));
    EXPECT_EQ(store.files[kAdware], "a.exe TRUE  Name\r\n");
}

TEST_F(ListFiles, AdwareSaveWritesItemsByNameWithTheirCurrentCheckState)
{
    store.files[kAdware] = "zz.exe TRUE zeta\r\naa.exe FALSE Alpha\r\n";
    ReadAdwareFile(store, kAdware, compare, adware);
    adware.SetChecked(0, true);
    ASSERT_TRUE(WriteAdwareFile(store, kAdware, adware));
    EXPECT_EQ(store.files[kAdware], "aa.exe TRUE Alpha\r\nzz.exe TRUE zeta\r\n");
}

TEST(ParseAdwareLine, SplitsAtSpacesOnly)
{
    const auto record = ParseAdwareLine("\tKey.Exe FALSE  two  words");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->key, "Key.Exe");  // lower-casing is the reader's job
    EXPECT_FALSE(record->checked);
    EXPECT_EQ(record->name, " two  words");
    EXPECT_FALSE(ParseAdwareLine("onlykey"));
    EXPECT_FALSE(ParseAdwareLine("   "));
    EXPECT_TRUE(ParseAdwareLine("k FALSEX n")->checked);
    EXPECT_TRUE(ParseAdwareLine("k false n")->checked);
}

// --- "AllowCookies.dat" ---

TEST_F(ListFiles, KeptSitesTrimBothEndsAndKeepEmptyLinesInFileOrder)
{
    store.files[kCookies] = "  zeta.com \r\n\r\n \t \r\nAlpha.org\r\n";
    std::vector<std::string> sites{"left over"};
    ASSERT_TRUE(ReadKeptSitesFile(store, kCookies, sites));
    EXPECT_EQ(sites, (Lines{"zeta.com", "", "", "Alpha.org"}));
    ASSERT_TRUE(WriteKeptSitesFile(store, kCookies, sites));
    EXPECT_EQ(store.files[kCookies], "zeta.com\r\n\r\n\r\nAlpha.org\r\n");
}

// --- Bad input ---

TEST_F(ListFiles, CrOnlyFileIsOneEntry)
{
    store.files[kAllowed] = "one\rtwo\rthree\r";
    ReadAllowedFile(store, kAllowed, list);
    EXPECT_EQ(Texts(list), (Lines{"one\rtwo\rthree"}));
    store.files[kHistory] = "BLK:one\rBLK:two\r";
    ReadBlockedHistoryFile(store, kHistory, list);
    EXPECT_EQ(Texts(list), (Lines{"one\rBLK:two"}));
}

TEST_F(ListFiles, EntriesWithNulBytesSurviveARoundTrip)
{
    // Already in list order: NUL sorts before every other byte.
    const std::string content("BLK:\0\r\nBLK:a\0b\r\n", 16);
    store.files[kHistory] = content;
    ReadBlockedHistoryFile(store, kHistory, list);
    ASSERT_EQ(list.Count(), 2u);
    ASSERT_TRUE(WriteBlockedHistoryFile(store, kHistory, list));
    EXPECT_EQ(store.files[kHistory], content);
}

TEST_F(ListFiles, BinaryGarbageLoadsIntoEveryListAndRoundTripsTheAllowedOne)
{
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        const std::string garbage = GarbageBytes(64 * 1024, seed);
        store.files = {{kAllowed, garbage}, {kHistory, garbage}, {kAdware, garbage}, {kCookies, garbage}};
        std::vector<std::string> sites;
        EXPECT_TRUE(ReadBlockedHistoryFile(store, kHistory, list));
        EXPECT_TRUE(ReadAdwareFile(store, kAdware, compare, adware));
        EXPECT_TRUE(WriteAdwareFile(store, kAdware, adware));
        EXPECT_TRUE(ReadKeptSitesFile(store, kCookies, sites));

        ASSERT_TRUE(ReadAllowedFile(store, kAllowed, list));
        const Lines first = Texts(list);
        ASSERT_TRUE(WriteAllowedFile(store, kAllowed, list));
        ReadAllowedFile(store, kAllowed, list);
        EXPECT_EQ(Texts(list), first) << "seed " << seed;
    }
}
