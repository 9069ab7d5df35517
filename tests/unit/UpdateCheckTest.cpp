#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "app/core/UpdateCheck.h"
#include "common/AppSettings.h"
#include "support/FakeSettings.h"
#include "support/MemoryFileStore.h"

namespace {

const std::string kUrl = "http://127.0.0.1:8080/new/";
const std::string kOld = "01-Nov-2026 17:45";
const std::string kNow = "07-Dec-2026 06:10";

// One line of nginx's listing: link, blanks, date, blanks, size.
std::string Line(const std::string& name, const std::string& date)
{
    return "<a href=\"" + name + "\">" + name + "</a>" + std::string(40, ' ') + date + "       3\r\n";
}

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
        for (const auto& [name, date] : entries) {
            server.listing += Line(name, date);
            server.files[name] = "content of " + name;
        }
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
    EXPECT_EQ(disk.files.at("C:\\T\\New\\Fresh.exe"), "content of Fresh.exe");
    EXPECT_EQ(table.Lookup("Fresh.exe"), kNow);
    EXPECT_EQ(server.closes, 1);
}

TEST_F(UpdateCheck, FailedOpenOrTransferRecordsNothingAndACutListingOnlyItsWholeLines)
{
    Serve({{"Extra.dat", kNow}});
    server.refuseOpen = true;
    Run();
    EXPECT_EQ(server.closes, 0) << "Close only after a successful Open";
    server.refuseOpen = false;
    server.failBody = true;
    Run();
    EXPECT_EQ(settings.writeCount, 0u) << "not even \"Checked For Updates\"";
    server.failBody = false;
    WriteSetting(settings, kCheckedForUpdatesSetting, 1);
    // The cap falls inside the date: "07-Dec-2026 06" would read as a change.
    server.listing = std::string(kMaxListingBytes - Line("Late.dll", kNow).size() + 13, '\n') + Line("Late.dll", kNow);
    Run();
    EXPECT_TRUE(server.fetched.empty());
    EXPECT_EQ(server.closes, 2);
}

TEST(UpdateListing, EachSearchStartsAfterTheLastDateAndDuplicatesKeepTheirFirstPlace)
{
    const std::string page = "<pre><a href=\"../\">../</a>\r\n" + Line("A.dll", kOld) + Line("Note.html", kNow) +
                             Line("B.js", kNow) + Line("C.exe", kNow) + Line("A.dll", kNow) +
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
