// The list files through the real Win32 file adapter: atomic replacement,
// files held without sharing, and the system's text comparison.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>

#include "pages/ListFiles.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32TextCompare.h"
#include "support/WineTest.h"

namespace {

using winetest::ReadWholeFile;

TEST(ListFileStore, SaveReplacesTheFileOverAStaleTemporaryAndAHeldFileKeepsItsOldContent) {
    const std::string path = winetest::TestDir() + "BlockedHistory.dat";
    Win32FileStore store;
    Win32TextCompare compare;
    SortedTextList list{compare};
    EXPECT_FALSE(ReadBlockedHistoryFile(store, path, list));  // missing: the first save creates it
    list.Add("beta");
    list.Add("Alpha");
    ASSERT_TRUE(WriteBlockedHistoryFile(store, path, list));
    EXPECT_EQ("BLK:Alpha\r\nBLK:beta\r\n", ReadWholeFile(path));
    // What an interrupted earlier save would have left behind.
    std::ofstream(TemporaryPathFor(path), std::ios::binary) << "stale";
    list.Add("gamma");
    ASSERT_TRUE(WriteBlockedHistoryFile(store, path, list));
    EXPECT_EQ("BLK:Alpha\r\nBLK:beta\r\nBLK:gamma\r\n", ReadWholeFile(path));
    EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(path)));
    {
        auto held = store.OpenForRead(path);
        ASSERT_TRUE(held);
        EXPECT_FALSE(store.OpenForRead(path)) << "opened without sharing";
        list.Add("lost");
        EXPECT_FALSE(WriteBlockedHistoryFile(store, path, list));
    }
    EXPECT_EQ("BLK:Alpha\r\nBLK:beta\r\nBLK:gamma\r\n", ReadWholeFile(path));
    EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(path)));
    ASSERT_TRUE(ReadBlockedHistoryFile(store, path, list));
    EXPECT_EQ(3u, list.Count());
}

TEST(TextCompare, SystemComparisonIgnoresCaseAndLowerCasesKeys) {
    Win32TextCompare compare;
    EXPECT_EQ("foo.exe", compare.ToLower("Foo.EXE"));
    EXPECT_LT(compare.CompareNoCase("alpha", "BETA"), 0);
    EXPECT_EQ(0, compare.CompareNoCase("ABC", "abc"));
    EXPECT_GT(compare.CompareNoCase(std::string_view("a\0b", 3), "a"), 0);
}

}  // namespace
