#include <gtest/gtest.h>

#include <atomic>
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

// Serves the listing; no file is fetched here, so every download fails.
class FakeServer final : public IHttpClient, public IFolders {
public:
    std::string listing;
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
    bool DownloadFile(const std::string& url, const std::string&) override
    {
        fetched.push_back(url);
        return false;
    }
    void Close() override { ++closes; }
    bool Exists(const std::string&) override { return false; }
    bool CreateFolder(const std::string&) override { return true; }
};

class UpdateCheck : public ::testing::Test {
protected:
    void Run() { CUpdateCheck(server, settings, disk, server, table, stop).Run(kUrl, "C:\\T\\"); }

    MemoryFileStore disk;
    std::atomic<bool> stop{false};
    FakeServer server;
    FakeSettings settings;
    StringPairList table;
};

TEST_F(UpdateCheck, FailedOpenOrTransferRecordsNothingAndACutListingOnlyItsWholeLines)
{
    server.listing = Line("Extra.dat", kNow);
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
