#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/ListFileIo.h"
#include "support/MemoryFileStore.h"

namespace {

const std::string kPath = "C:\\Tarnelix\\List.dat";

std::vector<std::string> ReadAll(const std::string& content, std::size_t maxLines = kMaxListLines)
{
    MemoryFileStore store;
    store.files[kPath] = content;
    std::vector<std::string> lines;
    ReadLines(store, kPath, maxLines, [&](std::string_view line, std::size_t index) {
        EXPECT_EQ(index, lines.size());
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

bool SaveLines(MemoryFileStore& store, const std::vector<std::string>& lines)
{
    return SaveLinesReplacing(store, kPath, [&](LineWriter& writer) {
        for (const std::string& line : lines) {
            writer.WriteLine(line);
        }
    });
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(LineReader, EndsLinesAtLfAndDropsOnlyTheCrRightBeforeIt)
{
    EXPECT_EQ(ReadAll("a\nb\r\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(ReadAll("a\r\r\n"), (Lines{"a\r"}));
    EXPECT_EQ(ReadAll("a\rb\n"), (Lines{"a\rb"}));
    EXPECT_EQ(ReadAll("\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(ReadAll("last line without end"), (Lines{"last line without end"}));
    EXPECT_EQ(ReadAll("x\r\n"), (Lines{"x"}));
    EXPECT_TRUE(ReadAll("").empty());
}

TEST(LineReader, CrOnlySeparatorsMakeOneLineThatKeepsTheCrs)
{
    // Old Mac line ends are not line ends here: the whole file is one line.
    EXPECT_EQ(ReadAll("one\rtwo\rthree\r"), (Lines{"one\rtwo\rthree\r"}));
}

TEST(LineReader, NulBytesAreOrdinaryBytesOfTheLine)
{
    const std::string content("a\0b\r\n\0\n", 7);
    const Lines lines = ReadAll(content);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string("a\0b", 3));
    EXPECT_EQ(lines[1], std::string("\0", 1));
}

TEST(LineReader, CrLfSplitAcrossTwoBufferChunksIsOneLineEnd)
{
    const std::string first(kListBufferSize - 1, 'x');
    const Lines lines = ReadAll(first + "\r\nnext");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], "next");
}

TEST(LineReader, OneMegabyteLineIsReadWholeThroughSmallChunks)
{
    MemoryFileStore store;
    const std::string big(1u << 20, 'q');
    store.files[kPath] = "a\r\n" + big + "\r\nz";
    std::vector<std::size_t> sizes;
    ReadLines(store, kPath, kMaxListLines, [&](std::string_view line, std::size_t) {
        sizes.push_back(line.size());
        return true;
    });
    EXPECT_EQ(sizes, (std::vector<std::size_t>{1, 1u << 20, 1}));
    EXPECT_EQ(store.largestRead, kListBufferSize);
}

TEST(LineReader, ReadErrorKeepsTheLinesReadBeforeIt)
{
    MemoryFileStore store;
    store.files[kPath] = "one\r\ntwo\r\nthree\r\n";
    store.failReadAfterBytes = 8;  // "one\r\ntwo" arrives, then the disk fails
    auto file = store.OpenForRead(kPath);
    ASSERT_TRUE(file);
    LineReader reader(*file);
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "one");
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "two");
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(reader.Failed());
}

TEST(ReadLines, StopsAfterTheLineLimitCountingBlankLines)
{
    std::string content;
    for (int i = 0; i < 10001; ++i) {
        content += (i % 2 == 0) ? "\r\n" : "x\r\n";
    }
    const Lines lines = ReadAll(content);
    EXPECT_EQ(lines.size(), 10000u);
    EXPECT_EQ(ReadAll("a\nb\nc\n", 2), (Lines{"a", "b"}));
}

TEST(ReadLines, MissingOrLockedFileReportsNotOpened)
{
    MemoryFileStore store;
    const auto never = [](std::string_view, std::size_t) {
        ADD_FAILURE() << "no line expected";
        return true;
    };
    EXPECT_FALSE(ReadLines(store, kPath, kMaxListLines, never));
    store.files[kPath] = "x\r\n";
    auto holder = store.OpenForRead(kPath);  // held without sharing
    EXPECT_FALSE(ReadLines(store, kPath, kMaxListLines, never));
}

TEST(LineWriter, EndsEveryLineWithCrLfIncludingTheLast)
{
    MemoryFileStore store;
    ASSERT_TRUE(SaveLines(store, {"first", "", "last"}));
    EXPECT_EQ(store.files[kPath], "first\r\n\r\nlast\r\n");
}

TEST(LineWriter, WritesInBufferSizedPiecesAndKeepsLongLinesWhole)
{
    MemoryFileStore store;
    const std::string longLine(3 * kListBufferSize + 17, 'w');
    ASSERT_TRUE(SaveLines(store, {"short", longLine}));
    EXPECT_EQ(store.files[kPath], "short\r\n" + longLine + "\r\n");
    EXPECT_EQ(store.largestWrite, kListBufferSize);
}

TEST(LineWriter, NoLinesGiveAnEmptyFile)
{
    MemoryFileStore store;
    ASSERT_TRUE(SaveLines(store, {}));
    ASSERT_EQ(store.files.count(kPath), 1u);
    EXPECT_EQ(store.files[kPath], "");
}

class SaveReplacing : public ::testing::Test {
protected:
    const std::string oldContent = "BLK:old one\r\nBLK:old two\r\n";
    const std::string tempPath = TemporaryPathFor(kPath);
    MemoryFileStore store;
    Lines newLines;

    void SetUp() override
    {
        store.files[kPath] = oldContent;
        for (int i = 0; i < 2000; ++i) {
            newLines.push_back("BLK:new title number " + std::to_string(i));
        }
    }

    void ExpectOldFileIntactAndNoTemp()
    {
        EXPECT_EQ(store.files[kPath], oldContent);
        EXPECT_EQ(store.files.count(tempPath), 0u);
        EXPECT_FALSE(store.IsOpen(tempPath));
    }
};

TEST_F(SaveReplacing, SuccessReplacesTheFileAndLeavesNoTemporaryFile)
{
    ASSERT_TRUE(SaveLines(store, {"a", "b"}));
    EXPECT_EQ(store.files[kPath], "a\r\nb\r\n");
    EXPECT_EQ(store.files.count(tempPath), 0u);
    EXPECT_EQ(store.createdPaths, (Lines{tempPath}));
}

TEST_F(SaveReplacing, DiskFullHalfWayKeepsTheOldFileByteForByte)
{
    store.failWriteAfterBytes = 10000;  // the new content is about 50 kB
    EXPECT_FALSE(SaveLines(store, newLines));
    ExpectOldFileIntactAndNoTemp();
}

TEST_F(SaveReplacing, FailedFlushCloseOrRenameKeepsTheOldFile)
{
    store.failFlush = true;
    EXPECT_FALSE(SaveLines(store, newLines));
    ExpectOldFileIntactAndNoTemp();

    store.failFlush = false;
    store.failClose = true;
    EXPECT_FALSE(SaveLines(store, newLines));
    ExpectOldFileIntactAndNoTemp();

    store.failClose = false;
    store.failMove = true;
    EXPECT_FALSE(SaveLines(store, newLines));
    ExpectOldFileIntactAndNoTemp();
}

TEST_F(SaveReplacing, TargetHeldOpenByAnotherReaderKeepsItsContent)
{
    auto holder = store.OpenForRead(kPath);
    ASSERT_TRUE(holder);
    EXPECT_FALSE(SaveLines(store, newLines));
    ExpectOldFileIntactAndNoTemp();
}

TEST_F(SaveReplacing, TemporaryFileThatCannotBeCreatedLeavesEverythingAlone)
{
    store.unopenable.insert(tempPath);
    EXPECT_FALSE(SaveLines(store, newLines));
    ExpectOldFileIntactAndNoTemp();
}

TEST_F(SaveReplacing, StaleTemporaryFileFromACrashIsOverwritten)
{
    store.files[tempPath] = std::string(100000, 'S');
    ASSERT_TRUE(SaveLines(store, {"fresh"}));
    EXPECT_EQ(store.files[kPath], "fresh\r\n");
    EXPECT_EQ(store.files.count(tempPath), 0u);
}

TEST_F(SaveReplacing, FailedSaveAlsoClearsAStaleTemporaryFile)
{
    store.files[tempPath] = "stale";
    store.failMove = true;
    EXPECT_FALSE(SaveLines(store, {"fresh"}));
    ExpectOldFileIntactAndNoTemp();
}

TEST_F(SaveReplacing, MissingTargetIsCreated)
{
    store.files.clear();
    ASSERT_TRUE(SaveLines(store, {"one"}));
    EXPECT_EQ(store.files[kPath], "one\r\n");
}

TEST(ListSpace, TrimsOnlySpaceTabLfVtFfAndCr)
{
    EXPECT_EQ(TrimTrailingSpace("x \t\n\v\f\r"), "x");
    EXPECT_EQ(TrimLeadingSpace(" \t\n\v\f\rx"), "x");
    // NBSP (0xA0) and other high bytes are text in the ANSI code pages.
    EXPECT_EQ(TrimTrailingSpace("x\xA0"), "x\xA0");
    EXPECT_EQ(TrimTrailingSpace(std::string_view("x\0", 2)), std::string_view("x\0", 2));
    EXPECT_EQ(TrimTrailingSpace("   "), "");
}
