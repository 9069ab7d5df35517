#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/core/UpdateCheck.h"
#include "common/AppSettings.h"
#include "support/AutoindexListing.h"
#include "support/FakeSettings.h"
#include "support/MemoryFileStore.h"

namespace {

const std::string kUrl = "http://127.0.0.1:8080/new/";
const std::string kFolder = "C:\\Tarnelix\\";
const std::string kNew = kFolder + "New\\";
const std::string kOld = "01-Nov-2026 17:45";
const std::string kNow = "07-Dec-2026 06:10";

// The update server as the worker sees it: the listing and the files by
// address, written into the in-memory disk as the WinINet adapter would.
class FakeServer final : public IHttpClient, public IFolders {
public:
    explicit FakeServer(MemoryFileStore& disk) : disk(disk) {}

    std::string listing;
    std::map<std::string, std::string> files;  // by file name
    bool refuseOpen = false;
    bool failBody = false;
    std::function<void()> duringDownload;  // e.g. the user exits meanwhile
    std::vector<std::string> fetched;
    int closes = 0;

    bool Open(const std::string& url, const std::string& verb) override
    {
        return !refuseOpen && url == kUrl && verb == "GET";
    }
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
        if (out == nullptr || file == files.end()) {
            return false;
        }
        out->Write(file->second.data(), file->second.size() / 2);
        if (duringDownload) {
            duringDownload();
            return false;  // cut off half-way
        }
        return out->Write(file->second.data() + file->second.size() / 2, file->second.size() - file->second.size() / 2);
    }
    void Close() override { ++closes; }
    bool Exists(const std::string& path) override { return disk.files.count(path) != 0 || folders.count(path) != 0; }
    bool CreateFolder(const std::string& path) override { return folders.insert(path).second; }

    std::set<std::string> folders;

private:
    MemoryFileStore& disk;
};

class UpdateCheck : public ::testing::Test {
protected:
    void Run() { CUpdateCheck(server, settings, disk, server, table, stop).Run(kUrl, kFolder); }
    void Serve(const std::vector<std::pair<std::string, std::string>>& entries)
    {
        std::vector<std::string> lines;
        for (const auto& [name, date] : entries) {
            lines.push_back(AutoindexLine(name, date));
            server.files[name] = "content of " + name;
        }
        server.listing = AutoindexPage(lines);
    }
    std::string Recorded(const std::string& name) const { return settings.GetProfileString(kUpdatesSection, name, "-"); }
    int Checked() const { return ReadSetting(settings, kCheckedForUpdatesSetting); }
    void AfterFirstCheck() { WriteSetting(settings, kCheckedForUpdatesSetting, 1); }

    MemoryFileStore disk;
    FakeServer server{disk};
    FakeSettings settings;
    StringPairList table;
    std::atomic<bool> stop{false};
};

TEST_F(UpdateCheck, FirstCheckFetchesOnlyMissingFilesAndRecordsEveryDate) {
    disk.files[kFolder + "Wendle.dll"] = "installed";
    Serve({{"Wendle.dll", kNow}, {"Extra.dat", kNow}});
    server.listing.insert(server.listing.find("</pre>"), AutoindexLine("Gone.dll", kOld));
    Run();
    EXPECT_EQ(server.fetched, (std::vector<std::string>{"Extra.dat", "Gone.dll"}));
    EXPECT_EQ(disk.files.at(kNew + "Extra.dat"), "content of Extra.dat");
    EXPECT_EQ(disk.files.count(kNew + "Gone.dll") + disk.files.count(kNew + "Gone.dll.part"), 0u);
    EXPECT_EQ(Recorded("Wendle.dll"), kNow);
    EXPECT_EQ(Recorded("Gone.dll"), kOld) << "the first check records a failed download all the same";
    EXPECT_EQ(table.Lookup("Extra.dat"), kNow);
    EXPECT_EQ(Checked(), 1);
    EXPECT_EQ(server.closes, 1);
}

TEST_F(UpdateCheck, LaterCheckFetchesChangedAndUnrecordedFilesAndKeepsFailedOnesForNextTime) {
    AfterFirstCheck();
    for (const char* name : {"Same.dll", "Changed.dll", "Case.dll", "Gone.dll"}) {
        table.Set(name, kOld);
    }
    Serve({{"Same.dll", kOld}, {"Changed.dll", kNow}, {"Case.dll", "01-NOV-2026 17:45"}, {"Fresh.exe", kNow}});
    server.listing.insert(server.listing.find("</pre>"), AutoindexLine("Gone.dll", kNow));
    Run();
    EXPECT_EQ(server.fetched, (std::vector<std::string>{"Changed.dll", "Case.dll", "Fresh.exe", "Gone.dll"}));
    EXPECT_EQ(Recorded("Changed.dll"), kNow);
    EXPECT_EQ(Recorded("Fresh.exe"), kNow);
    EXPECT_EQ(Recorded("Gone.dll"), "-");
    EXPECT_EQ(table.Lookup("Gone.dll"), kOld) << "tried again at the next check";
    EXPECT_EQ(disk.files.count(kNew + "Same.dll"), 0u);
}

TEST_F(UpdateCheck, FailedOpenOrTransferRecordsNothing) {
    Serve({{"Extra.dat", kNow}});
    server.refuseOpen = true;
    Run();
    EXPECT_EQ(server.closes, 0) << "Close only after a successful Open";
    server.refuseOpen = false;
    server.failBody = true;
    Run();
    EXPECT_EQ(server.closes, 1);
    EXPECT_TRUE(server.fetched.empty());
    EXPECT_EQ(settings.writeCount, 0u);
}

TEST_F(UpdateCheck, ExitDuringADownloadLeavesNoFileAndNoHalfBaseline) {
    Serve({{"Big.exe", kNow}, {"Next.dll", kNow}});
    server.duringDownload = [this] { stop = true; };
    Run();
    EXPECT_EQ(server.fetched, std::vector<std::string>{"Big.exe"});
    EXPECT_EQ(disk.files.count(kNew + "Big.exe") + disk.files.count(kNew + "Big.exe.part"), 0u);
    EXPECT_EQ(settings.writeCount, 0u) << "no date, and no \"Checked For Updates\"";
}

TEST_F(UpdateCheck, HostileNamesWriteNothingOutsideNew) {
    AfterFirstCheck();
    Serve({{"..\\evil.dll", kNow}, {"C:\\x.exe", kNow}, {"a/b.dll", kNow}, {"CON.dll", kNow}, {"ok.dll", kNow}});
    Run();
    EXPECT_EQ(server.fetched, std::vector<std::string>{"ok.dll"});
    for (const std::string& path : disk.createdPaths) {
        EXPECT_EQ(path.rfind(kNew, 0), 0u) << path;
    }
}

TEST_F(UpdateCheck, CutListingIsReadUpToItsLastWholeLine) {
    AfterFirstCheck();
    std::string line = AutoindexLine("Late.dll", kNow);
    // The cap falls inside the date: "07-Dec-2026 06" would read as a change.
    server.listing = std::string(kMaxListingBytes - line.size() + 25, '\n') + line;
    Run();
    EXPECT_TRUE(server.fetched.empty()) << "a line cut by the cap is not read";
}

TEST(UpdateListing, DuplicatesKeepTheirLastDateAtTheFirstPlaceAndOnlyThreeLetterExtensionsCount) {
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

TEST(UpdateListing, PlainNamesUrlsAndTheConfiguredAddress) {
    for (const char* name : {"Wendle.dll", "new skin.bmp", "a.b.c.txt", "CONSOLE.dat", "COM10.dll"}) {
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    }
    for (const char* name : {"", "..\\evil.dll", "a..dll", "C:x.exe", "a/b.dll", "a\\b.dll", "tab\t.dll",
                             "CON.dll", "con", "Lpt1.txt", "nul .txt", "aux", "x.dll.", "x.dll ", "a*.dll"}) {
        EXPECT_FALSE(IsPlainFileName(name)) << name;
    }
    EXPECT_EQ(FileUrl(kUrl, "Read Me#1%.txt"), kUrl + "Read%20Me%231%25.txt");
    FakeSettings settings;
    EXPECT_EQ(UpdateListingUrl(settings), kDefaultUpdateListingUrl);
    for (const char* configured : {"HTTP://127.0.0.1:8080/", "https://example.org/tarnelix/"}) {
        WriteSetting(settings, kUpdateListingUrlSetting, configured);
        EXPECT_EQ(UpdateListingUrl(settings), configured);
    }
    WriteSetting(settings, kUpdateListingUrlSetting, "file:///C:/Windows/");
    EXPECT_EQ(UpdateListingUrl(settings), kDefaultUpdateListingUrl);
}

}  // namespace
