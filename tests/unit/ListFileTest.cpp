#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pages/ListFiles.h"
#include "platform/TextCompare.h"
#include "support/ListTexts.h"
#include "support/MemoryFileStore.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kPath = "C:\\Tarnelix\\List.dat";

Lines ReadAll(MemoryFileStore& store, std::size_t maxLines = kMaxListLines)
{
    Lines lines;
    ReadLines(store, kPath, maxLines, [&](std::string_view line, std::size_t index) {
        EXPECT_EQ(index, lines.size());
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

Lines ReadAll(const std::string& content, std::size_t maxLines = kMaxListLines)
{
    MemoryFileStore store;
    store.files[kPath] = content;
    return ReadAll(store, maxLines);
}

bool SaveLines(MemoryFileStore& store, const Lines& lines)
{
    return SaveLinesReplacing(store, kPath, [&](LineWriter& writer) {
        for (const std::string& line : lines) {
            writer.WriteLine(line);
        }
    });
}

}  // namespace

// ---- One line format for all four files -------------------------------------

TEST(ListLines, EndAtLfWithTheCrBeforeItDroppedAndEveryOtherByteKept)
{
    const std::string chunk(kListBufferSize - 1, 'x');  // its CR LF straddles two reads
    const std::string longLine(3 * kListBufferSize + 17, 'w');
    const struct {
        std::string content;
        Lines lines;
    } cases[] = {
        {"a\nb\r\nc", {"a", "b", "c"}},  // the last line needs no line end
        {"a\r\r\n", {"a\r"}},
        {"\n\r\n", {"", ""}},
        {"", {}},
        // Old Mac line ends are not line ends here: the whole file is one line.
        {"one\rtwo\rthree\r", {"one\rtwo\rthree\r"}},
        {std::string("a\0b\r\n\0\n", 7), {std::string("a\0b", 3), std::string("\0", 1)}},
        {chunk + "\r\nnext", {chunk, "next"}},
        {"a\r\n" + longLine + "\r\nz", {"a", longLine, "z"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadAll(c.content), c.lines) << testing::PrintToString(c.content.substr(0, 20));
    }
}

TEST(ListLines, ReadingStopsAtTheLineCapOrAReadErrorKeepingTheLinesBefore)
{
    std::string content;
    for (int i = 0; i < 10001; ++i) {
        content += (i % 2 == 0) ? "\r\n" : "x\r\n";  // blank lines count too
    }
    EXPECT_EQ(ReadAll(content).size(), 10000u);
    EXPECT_EQ(ReadAll("a\nb\nc\n", 2), (Lines{"a", "b"}));

    MemoryFileStore store;
    store.files[kPath] = "one\r\ntwo\r\nthree\r\n";
    store.failReadAfterBytes = 8;  // "one\r\ntwo" arrives, then the disk fails
    EXPECT_EQ(ReadAll(store), (Lines{"one", "two"}));
}

// ---- Atomic replacement -----------------------------------------------------

TEST(AtomicSave, FailureHalfWayKeepsTheOldFileByteForByteAndLeavesNoTemporaryFile)
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

// ---- What a line holds in each file -----------------------------------------

namespace {

enum class ListFile { Allowed, History, Adware, KeptSites };

class ListFiles : public ::testing::Test {
protected:
    // Every reader must drop what the list held before.
    void Preload()
    {
        list.Add("left over");
        adware.Add("left over", "x.exe", true);
        sites = {"left over"};
    }
    bool Read(ListFile file)
    {
        switch (file) {
        case ListFile::Allowed: return ReadAllowedFile(store, kPath, list);
        case ListFile::History: return ReadBlockedHistoryFile(store, kPath, list);
        case ListFile::Adware: return ReadAdwareFile(store, kPath, compare, adware);
        case ListFile::KeptSites: return ReadKeptSitesFile(store, kPath, sites);
        }
        return false;
    }
    bool Write(ListFile file)
    {
        switch (file) {
        case ListFile::Allowed: return WriteAllowedFile(store, kPath, list);
        case ListFile::History: return WriteBlockedHistoryFile(store, kPath, list);
        case ListFile::Adware: return WriteAdwareFile(store, kPath, adware);
        case ListFile::KeptSites: return WriteKeptSitesFile(store, kPath, sites);
        }
        return false;
    }
    // Adware items as "name|key|on" or "name|key|off".
    Lines Entries(ListFile file) const
    {
        if (file == ListFile::KeptSites) {
            return sites;
        }
        if (file != ListFile::Adware) {
            return Texts(list);
        }
        Lines items;
        for (std::size_t i = 0; i < adware.Count(); ++i) {
            const AdwareItem& item = adware.ItemAt(i);
            items.push_back(item.name + "|" + adware.KeyTable().Lookup(item.name) + (item.checked ? "|on" : "|off"));
        }
        return items;
    }

    AsciiTextCompare compare;
    MemoryFileStore store;
    SortedTextList list{compare};
    AdwareList adware{compare};
    Lines sites;
};

}  // namespace

TEST_F(ListFiles, EachFileTrimsFiltersAndRewritesItsLinesByItsOwnRule)
{
    const struct {
        const char* name;
        ListFile file;
        std::string content;
        Lines entries;
        std::string saved;
    } cases[] = {
        {"allowed: trailing blanks go, leading ones stay, NBSP is text, sorted keeping duplicates",
         ListFile::Allowed, "zed\t\r\nabc   \r\n   abc\r\n\r\n \t \r\nCharlie\nBravo\ncharlie\nx\xA0\v\f\r\n",
         {"   abc", "abc", "Bravo", "Charlie", "charlie", "x\xA0", "zed"},
         "   abc\r\nabc\r\nBravo\r\nCharlie\r\ncharlie\r\nx\xA0\r\nzed\r\n"},
        {"allowed: CR-only file", ListFile::Allowed, "one\rtwo\rthree\r", {"one\rtwo\rthree"},
         "one\rtwo\rthree\r\n"},
        {"history: exact prefix only, a bare prefix is read but never written", ListFile::History,
         "blk:lower case\r\nBLK:Title  \t\r\nBLK: spaced\r\nBLK\r\nTitle only\r\n  BLK:indented\r\nBLK:\r\n"
         "BLK:   \r\nBLK:Popup\r\n",
         {"", "", " spaced", "Popup", "Title"}, "BLK: spaced\r\nBLK:Popup\r\nBLK:Title\r\n"},
        {"history: CR-only file", ListFile::History, "BLK:one\rBLK:two\r", {"one\rBLK:two"},
         "BLK:one\rBLK:two\r\n"},
        {"history: NUL bytes", ListFile::History, std::string("BLK:\0\r\nBLK:a\0b\r\n", 16),
         {std::string("\0", 1), std::string("a\0b", 3)}, std::string("BLK:\0\r\nBLK:a\0b\r\n", 16)},
        {"adware: lower-case key, only FALSE clears the box", ListFile::Adware,
         "Foo.EXE FALSE Foo Tool\r\nfoo.exe true Foo\r\n", {"Foo|foo.exe|on", "Foo Tool|foo.exe|off"},
         "foo.exe TRUE Foo\r\nfoo.exe FALSE Foo Tool\r\n"},
        {"adware: no name, tabs, repeated names; blanks before the flag collapse", ListFile::Adware,
         "key.exe\r\n\r\nkey.exe TRUE\r\nkey.exe TRUE   \r\n  A.EXE   TRUE  Name \t\r\nkey.exe\tTRUE\tTab\r\n"
         "a.exe TRUE Foo Tool\r\nb.exe FALSE Foo Tool\r\nc.exe FALSE foo tool\r\nk.exe FALSEX x\r\n",
         {" Name|a.exe|on", "Foo Tool|a.exe|on", "foo tool|c.exe|off", "x|k.exe|on"},
         "a.exe TRUE  Name\r\na.exe TRUE Foo Tool\r\nc.exe FALSE foo tool\r\nk.exe TRUE x\r\n"},
        {"kept sites: both ends trimmed, empty lines kept in file order", ListFile::KeptSites,
         "  zeta.com \r\n\r\n \t \r\nAlpha.org\r\n", {"zeta.com", "", "", "Alpha.org"},
         "zeta.com\r\n\r\n\r\nAlpha.org\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        store.files[kPath] = c.content;
        Preload();
        ASSERT_TRUE(Read(c.file));
        EXPECT_EQ(Entries(c.file), c.entries);
        ASSERT_TRUE(Write(c.file));
        EXPECT_EQ(store.files[kPath], c.saved);
    }
}

TEST_F(ListFiles, MissingOrLockedFileGivesAnEmptyListAndTheSaveKeepsTheLockedFile)
{
    for (const ListFile file : {ListFile::Allowed, ListFile::History, ListFile::Adware, ListFile::KeptSites}) {
        store.files.clear();
        Preload();
        EXPECT_FALSE(Read(file));
        EXPECT_EQ(Entries(file), Lines{});
        store.files[kPath] = "old\r\n";
        const auto held = store.OpenForRead(kPath);  // without sharing, as another program may
        Preload();
        EXPECT_FALSE(Read(file));
        EXPECT_EQ(Entries(file), Lines{});
        EXPECT_FALSE(Write(file));
        EXPECT_EQ(store.files[kPath], "old\r\n");
    }
}
