#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "pages/ListFiles.h"
#include "platform/TextCompare.h"
#include "support/DiskFileStore.h"

// The same rules on real files: the rename over an existing file and the
// overwrite of a stale temporary file behave alike on Linux and under Wine.

namespace {

class ListFileDisk : public ::testing::Test {
protected:
    std::filesystem::path folder;
    std::string path;
    DiskFileStore store;
    AsciiTextCompare compare;

    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() / (std::string("tarnelix-listfile-") + info->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        path = (folder / "BlockedHistory.dat").string();
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    static std::string Slurp(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void Put(const std::string& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }
};

}  // namespace

TEST_F(ListFileDisk, SaveReplacesAnExistingFileEvenOverAStaleTemporaryFile)
{
    Put(path, "BLK:old\r\n");
    SortedTextList list(compare);
    ASSERT_TRUE(ReadBlockedHistoryFile(store, path, list));
    list.Add("Casino Popup");
    ASSERT_TRUE(WriteBlockedHistoryFile(store, path, list));
    EXPECT_EQ(Slurp(path), "BLK:Casino Popup\r\nBLK:old\r\n");
    EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(path)));

    Put(TemporaryPathFor(path), std::string(50000, 'S'));  // stale, left by a crash
    SortedTextList allowed(compare);
    allowed.Add("one");
    ASSERT_TRUE(WriteAllowedFile(store, path, allowed));
    EXPECT_EQ(Slurp(path), "one\r\n");
    EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(path)));
}

TEST_F(ListFileDisk, MissingFileReadsEmptyAndFolderThatIsGoneFailsTheSave)
{
    SortedTextList list(compare);
    list.Add("keep");
    EXPECT_FALSE(ReadAllowedFile(store, path, list));
    EXPECT_EQ(list.Count(), 0u);
    list.Add("keep");
    const std::string nowhere = (folder / "no such folder" / "AllowBanners.dat").string();
    EXPECT_FALSE(WriteAllowedFile(store, nowhere, list));
    EXPECT_EQ(list.Count(), 1u);
}
