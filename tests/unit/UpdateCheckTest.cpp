// The update check's decisions that nginx cannot show (tests/wine/UpdateTest.cpp
// runs the others against it).
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "app/core/UpdateCheck.h"
#include "common/AppSettings.h"
#include "support/AutoindexListing.h"
#include "support/FakeSettings.h"
#include "support/MemoryFileStore.h"

namespace {

const std::string kUrl = "http://127.0.0.1:8080/new/";
const std::string kNew = "C:\\T\\New\\";
const std::string kOld = "01-Nov-2026 17:45";
const std::string kNow = "07-Dec-2026 06:10";

// Serves `files` by name into the in-memory disk.
class FakeServer final : public IHttpClient, public IFolders {
public:
    explicit FakeServer(MemoryFileStore& disk) : disk(disk) {}

    std::string listing;
    std::map<std::string, std::string> files;
    bool refuseOpen = false;
    bool failBody = false;
    std::vector<std::string> fetched;
    int closes = 0;

    bool Open(const std::string& url, const std::string& verb) override { return !refuseOpen && url == kUrl && verb == "GET"; }
    bool ReadBody(std::size_t maxBytes, std::string& body) override
    {
        body = listing.substr(0, maxBytes);
        return !failBody;
    }
    bool DownloadFile(const std::string& url, const std::string& localPath) override
    {
        fetched.push_back(url.substr(kUrl.size()));
        auto out = disk.CreateForWrite(localPath);
        const auto file = files.find(fetched.back());
        return file != files.end() && out->Write(file->second.data(), file->second.size());
    }
    void Close() override { ++closes; }
    bool Exists(const std::string& path) override { return disk.files.count(path) != 0; }
    bool CreateFolder(const std::string&) override { return true; }

private:
    MemoryFileStore& disk;
};

class UpdateCheck : public ::testing::Test {
protected:
    void Run() { CUpdateCheck(server, settings, disk, server, table, stop).Run(kUrl, "C:\\T\\"); }
    void Serve(const std::vector<std::pair<std::string, std::string>>& entries)
    {
        std::vector<std::string> lines;
        for (const auto& [name, date] : entries) {
            lines.push_back(AutoindexLine(name, date));
            server.files[name] = "content of " + name;
        }
        server.listing = AutoindexPage(lines);
    }

    MemoryFileStore disk;
    std::atomic<bool> stop{false};
    FakeServer server{disk};
    FakeSettings settings;
    StringPairList table;
};

TEST_F(UpdateCheck, LaterCheckFetchesWhatChangedInAnyLetterOrWasNeverRecorded)
{
    WriteSetting(settings, kCheckedForUpdatesSetting, 1);
    table.Set("Same.dll", kOld);
    table.Set("Case.dll", kOld);
    Serve({{"Same.dll", kOld}, {"Case.dll", "01-NOV-2026 17:45"}, {"Fresh.exe", kNow}});
    Run();
    EXPECT_EQ(server.fetched, (std::vector<std::string>{"Case.dll", "Fresh.exe"}));
    EXPECT_EQ(disk.files.at(kNew + "Fresh.exe"), "content of Fresh.exe");
    EXPECT_EQ(table.Lookup("Fresh.exe"), kNow);
    EXPECT_EQ(server.closes, 1);
}

TEST_F(UpdateCheck, FailedOpenOrListingTransferRecordsNothing)
{
    Serve({{"Extra.dat", kNow}});
    server.refuseOpen = true;
    Run();
    EXPECT_EQ(server.closes, 0) << "Close only after a successful Open";
    server.refuseOpen = false;
    server.failBody = true;
    Run();
    EXPECT_EQ(server.closes, 1);
    EXPECT_TRUE(server.fetched.empty());
    EXPECT_EQ(settings.writeCount, 0u) << "not even \"Checked For Updates\"";
}

TEST_F(UpdateCheck, ListingCutByTheCapIsReadUpToItsLastWholeLine)
{
    WriteSetting(settings, kCheckedForUpdatesSetting, 1);
    const std::string line = AutoindexLine("Late.dll", kNow);
    // The cap falls inside the date: "07-Dec-2026 06" would read as a change.
    server.listing = std::string(kMaxListingBytes - line.size() + 25, '\n') + line;
    Run();
    EXPECT_TRUE(server.fetched.empty());
}

TEST(UpdateListing, EachSearchStartsAfterTheLastDateAndDuplicatesKeepTheirFirstPlace)
{
    const std::string page = AutoindexPage({AutoindexLine("A.dll", kOld), AutoindexLine("Note.html", kNow),
                                            AutoindexLine("B.js", kNow), AutoindexLine("C.exe", kNow),
                                            AutoindexLine("A.dll", kNow)}) +
                             "<a href=\"x\">D.dat</a> 1 2 <a href=\"y\">E.dat</a>\t3\r\n4";
    CRegExp re;
    StringPairList found;
    ReadListing(re, page, found);
    std::vector<std::string> read;
    for (const StringPair& pair : found) {
        read.push_back(pair.first + "=" + pair.second);
    }
    EXPECT_EQ(read, (std::vector<std::string>{"A.dll=" + kNow, "C.exe=" + kNow, "D.dat=1 2", "E.dat=3\r\n4"}));
}

TEST(UpdateListing, PlainNamesUrlsAndTheConfiguredAddress)
{
    for (const char* name : {"Wendle.dll", "new skin.bmp", "a.b.c.txt", "CONSOLE.dat", "COM10.dll"}) {
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    }
    for (const char* name : {"", "..\\evil.dll", "a..dll", "C:x.exe", "a/b.dll", "a\\b.dll", "tab\t.dll",
                             "CON.dll", "con", "Lpt1.txt", "nul .txt", "aux", "x.dll.", "x.dll ", "a*.dll"}) {
        EXPECT_FALSE(IsPlainFileName(name)) << name;
    }
    EXPECT_EQ(FileUrl(kUrl, "Read Me#1%.txt"), kUrl + "Read%20Me%231%25.txt");
    FakeSettings settings;
    for (const char* configured : {"", "file:///C:/Windows/", "HTTP://127.0.0.1:8080/", "https://example.org/t/"}) {
        WriteSetting(settings, kUpdateListingUrlSetting, configured);
        EXPECT_EQ(UpdateListingUrl(settings), configured[0] == 'f' || configured[0] == '\0' ? kDefaultUpdateListingUrl : configured);
    }
}

}  // namespace
