#include <gtest/gtest.h>

#include <functional>
#include <memory>
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
    const struct {
        std::string content;
        Lines lines;
    } cases[] = {
        {"a\nb\r\nc", {"a", "b", "c"}},
        {"a\r\r\n", {"a\r"}},
        {"a\rb\n", {"a\rb"}},
        {"\n\r\n", {"", ""}},
        {"last line without end", {"last line without end"}},
        {"x\r\n", {"x"}},
        {"", {}},
        // Old Mac line ends are not line ends here: the whole file is one line.
        {"one\rtwo\rthree\r", {"one\rtwo\rthree\r"}},
        // NUL bytes are ordinary bytes of the line.
        {std::string("a\0b\r\n\0\n", 7), {std::string("a\0b", 3), std::string("\0", 1)}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadAll(c.content), c.lines) << testing::PrintToString(c.content);
    }
}

TEST(LineReader, CrLfSplitAcrossTwoBufferChunksIsOneLineEnd)
{
    const std::string first(kListBufferSize - 1, 'x');
    EXPECT_EQ(ReadAll(first + "\r\nnext"), (Lines{first, "next"}));
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
    EXPECT_EQ(ReadAll(content).size(), 10000u);
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

TEST(LineWriter, EndsEveryLineWithCrLfIncludingTheLastAndNoLinesGiveAnEmptyFile)
{
    MemoryFileStore store;
    ASSERT_TRUE(SaveLines(store, {"first", "", "last"}));
    EXPECT_EQ(store.files[kPath], "first\r\n\r\nlast\r\n");
    ASSERT_TRUE(SaveLines(store, {}));
    ASSERT_EQ(store.files.count(kPath), 1u);
    EXPECT_EQ(store.files[kPath], "");
}

TEST(LineWriter, WritesInBufferSizedPiecesAndKeepsLongLinesWhole)
{
    MemoryFileStore store;
    const std::string longLine(3 * kListBufferSize + 17, 'w');
    ASSERT_TRUE(SaveLines(store, {"short", longLine}));
    EXPECT_EQ(store.files[kPath], "short\r\n" + longLine + "\r\n");
    EXPECT_EQ(store.largestWrite, kListBufferSize);
}

TEST(SaveReplacing, SuccessReplacesOrCreatesTheFileOverAStaleTemporaryOneAndLeavesNone)
{
    const std::string tempPath = TemporaryPathFor(kPath);
    MemoryFileStore store;
    store.files[kPath] = "old\r\n";
    ASSERT_TRUE(SaveLines(store, {"a", "b"}));
    EXPECT_EQ(store.files[kPath], "a\r\nb\r\n");
    EXPECT_EQ(store.createdPaths, (Lines{tempPath}));

    store.files[tempPath] = std::string(100000, 'S');  // left by a crash
    ASSERT_TRUE(SaveLines(store, {"fresh"}));
    EXPECT_EQ(store.files[kPath], "fresh\r\n");

    store.files.clear();
    ASSERT_TRUE(SaveLines(store, {"one"}));
    EXPECT_EQ(store.files[kPath], "one\r\n");
    EXPECT_EQ(store.files.count(tempPath), 0u);
}

TEST(SaveReplacing, FailureHalfWayKeepsTheOldFileByteForByteAndLeavesNoTemporaryFile)
{
    const std::string oldContent = "BLK:old one\r\nBLK:old two\r\n";
    const std::string tempPath = TemporaryPathFor(kPath);
    Lines newLines;  // about 50 kB
    for (int i = 0; i < 2000; ++i) {
        newLines.push_back("BLK:new title number " + std::to_string(i));
    }
    using Holder = std::unique_ptr<IReadableFile>;
    const struct {
        const char* name;
        std::function<Holder(MemoryFileStore&)> fail;
    } cases[] = {
        {"disk full", [](MemoryFileStore& s) { s.failWriteAfterBytes = 10000; return Holder(); }},
        {"flush", [](MemoryFileStore& s) { s.failFlush = true; return Holder(); }},
        {"close", [](MemoryFileStore& s) { s.failClose = true; return Holder(); }},
        {"rename", [](MemoryFileStore& s) { s.failMove = true; return Holder(); }},
        {"target held open", [](MemoryFileStore& s) { return s.OpenForRead(kPath); }},
        {"temporary file refused", [&](MemoryFileStore& s) { s.unopenable.insert(tempPath); return Holder(); }},
        {"stale temporary file and rename",
         [&](MemoryFileStore& s) { s.files[tempPath] = "stale"; s.failMove = true; return Holder(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryFileStore store;
        store.files[kPath] = oldContent;
        const Holder holder = c.fail(store);
        EXPECT_FALSE(SaveLines(store, newLines));
        EXPECT_EQ(store.files[kPath], oldContent);
        EXPECT_EQ(store.files.count(tempPath), 0u);
        EXPECT_FALSE(store.IsOpen(tempPath));
    }
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
