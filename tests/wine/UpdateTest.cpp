// The update check of the real Tarnelix.exe against nginx on 127.0.0.1
// (scripts/nginx-run.sh), whose served folder the tests fill.
#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/WineTest.h"

namespace {

using namespace winetest;

const std::string kServed = std::getenv("TARNELIX_UPDATE_DIR") ? std::getenv("TARNELIX_UPDATE_DIR") : "";
const std::string kServer = std::getenv("TARNELIX_UPDATE_URL") ? std::getenv("TARNELIX_UPDATE_URL") : "";
const std::string kNew = ProgramDir() + "New\\";

// Puts a file on the server with its modification time on the given day of
// December 2026, 06:10 UTC; nginx lists it as "<day>-Dec-2026 06:10".
void Serve(const std::string& path, const std::string& content, WORD day = 7) {
    CreateDirectoryA((kServed + path.substr(0, path.find('\\'))).c_str(), nullptr);
    std::ofstream(kServed + path, std::ios::binary) << content;
    HANDLE file = CreateFileA((kServed + path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SYSTEMTIME time{2026, 12, 0, day, 6, 10, 0, 0};
    FILETIME stamp{};
    SystemTimeToFileTime(&time, &stamp);
    SetFileTime(file, nullptr, nullptr, &stamp);
    CloseHandle(file);
}

std::string Read(const std::string& path) { return Exists(path) ? ReadWholeFile(path) : "<missing>"; }
DWORD CheckedForUpdates() {
    return ReadUserNumber("Software\\Corvantine\\Tarnelix\\Updates", "Checked For Updates", 0);
}
std::string Recorded(const char* name) { return ReadTarnelixString("Updates", name); }

// Tarnelix listing a folder of the server; the tests share the program folder.
class UpdateCheck : public TarnelixTest {
protected:
    void StartWithListing(const std::string& folder) {
        WriteSetting("UpdateListingUrl", kServer + folder + "/");
        Start();
    }
};

TEST_F(UpdateCheck, FirstCheckThenTheNextCheckFetchesExactlyTheChangedFile) {
    Serve("main\\Wendle.dll", "server's Wendle");  // the program folder has its own
    Serve("main\\Extra.dat", "extra");
    Serve("main\\Dropped.dll", "never arrives");  // the server drops the connection
    StartWithListing("main");
    ASSERT_TRUE(WaitFor([] { return CheckedForUpdates() == 1; }, 15000));
    EXPECT_EQ("extra", Read(kNew + "Extra.dat"));
    EXPECT_FALSE(Exists(kNew + "Wendle.dll")) << "present in the program folder";
    EXPECT_FALSE(Exists(kNew + "Dropped.dll") || Exists(kNew + "Dropped.dll.part"));
    for (const char* name : {"Wendle.dll", "Extra.dat", "Dropped.dll"}) {
        EXPECT_EQ("07-Dec-2026 06:10", Recorded(name)) << name;
    }
    // Extra.dat is installed; the next start checks again.
    ASSERT_TRUE(ExitTarnelix(tarnelix, main));
    MoveFileA((kNew + "Extra.dat").c_str(), (ProgramDir() + "Extra.dat").c_str());
    Serve("main\\Wendle.dll", "server's new Wendle", 9);
    Serve("main\\Dropped.dll", "still never arrives", 9);
    Process again;
    main = StartTarnelix(again);
    ASSERT_NE(nullptr, main);
    ASSERT_TRUE(WaitFor([] { return Recorded("Wendle.dll") == "09-Dec-2026 06:10"; }, 15000));
    EXPECT_EQ("server's new Wendle", Read(kNew + "Wendle.dll"));
    EXPECT_FALSE(Exists(kNew + "Extra.dat")) << "unchanged, not fetched again";
    EXPECT_EQ("07-Dec-2026 06:10", Recorded("Dropped.dll")) << "a failed download keeps the old record";
    EXPECT_TRUE(ExitTarnelix(again, main));
    main = nullptr;
}

TEST_F(UpdateCheck, HostileListingWritesNothingOutsideNew) {
    // A static page in place of nginx's own listing; entry i is dated the
    // (i + 1)th of December.
    const char* const names[] = {"..\\evil.dll", "C:\\x.exe", "a/b.dll", "CON.dll", "Twice.dll", "Note.html",
                                 "Twice.dll", "ok.dll"};
    std::string page = "<html><body><pre>\r\n";
    for (int i = 0; i < 8; ++i) {
        page += "<a href=\"ok.dll\">" + std::string(names[i]) + "</a>  0" + std::to_string(i + 1) + "-Dec-2026 06:10\r\n";
    }
    Serve("hostile\\index.html", page + "</pre></body></html>\r\n");
    Serve("hostile\\ok.dll", "ok");
    StartWithListing("hostile");
    ASSERT_TRUE(WaitFor([] { return CheckedForUpdates() == 1; }, 15000));
    EXPECT_EQ("ok", Read(kNew + "ok.dll")) << "the plain names are fetched";
    for (const std::string& path : {ProgramDir() + "evil.dll", ProgramDir() + "..\\evil.dll", ProgramDir() + "New\\a",
                                    ProgramDir() + "a", std::string("C:\\x.exe")}) {
        EXPECT_FALSE(Exists(path)) << path;
    }
    EXPECT_EQ("07-Dec-2026 06:10", Recorded("Twice.dll")) << "a name listed twice keeps its last date";
    EXPECT_EQ("<missing>", Recorded("Note.html")) << "four-letter extensions are not listed";
    EXPECT_EQ("<missing>", Recorded("CON.dll"));
}

TEST_F(UpdateCheck, ExitDuringASlowDownloadEndsSoonAndLeavesNoTruncatedFile) {
    Serve("slow\\Slow.dat", std::string(1 << 20, 's'));  // a minute at 16 KiB/s
    StartWithListing("slow");
    ASSERT_TRUE(WaitFor([] { return Exists(kNew + "Slow.dat.part"); }, 15000));
    PumpFor(1000);
    PostMessageA(main, WM_COMMAND, IDOK, 0);
    HWND question = WaitForWindow("#32770", "Message Info", 10000);
    ASSERT_NE(nullptr, question);
    PostMessageA(question, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(tarnelix.WaitForExit(5000)) << "the exit waits a bounded time for the check";
    main = nullptr;
    EXPECT_FALSE(Exists(kNew + "Slow.dat"));
    EXPECT_FALSE(Exists(kNew + "Slow.dat.part")) << "the partial file is removed";
    EXPECT_EQ(0u, CheckedForUpdates()) << "the cut first check is done again next time";
}

}  // namespace
