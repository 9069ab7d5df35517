// Soak run of the real Tarnelix.exe and Wendle.dll with AutoBlock on: a
// TestBrowser copy named IEXPLORE.EXE creates five windows per round (a
// frame let through by a user action, a popup frame, a child, a dialog and a
// frame without the system menu) after a burst of mouse moves and one key
// press. Passes when neither program crashed, every popup got its close
// command, the counter equals the closes received, the blocked history holds
// exactly the killed titles, and Tarnelix's handle count and memory at the
// end are within 10% of their values after the warm-up.
//
//   SoakRun.exe [--rounds=N] [--moves=M]    (default 4000 rounds, 11 moves:
//                                            20,000 windows, 52,000 input events)
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "HookHarness.h"

namespace {

int gRounds = 4000;
int gMoves = 11;

struct Usage {
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
};

// Wine's GetProcessHandleCount answers 0 for another process; the system's
// handle table (NtQuerySystemInformation, class 16) lists them all.
struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    void* object;
    ACCESS_MASK access;
};

DWORD CountHandles(DWORD processId) {
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 20);
    ULONG needed = 0;
    while (query != nullptr && query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0) {
        if (buffer.size() >= (64u << 20)) {
            return 0;
        }
        buffer.resize(buffer.size() * 2);
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(void*));
    DWORD handles = 0;
    for (ULONG i = 0; query != nullptr && i < count; ++i) {
        handles += entries[i].ownerPid == processId ? 1 : 0;
    }
    return handles;
}

Usage MeasureOnce(DWORD processId) {
    Usage usage;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    usage.handles = CountHandles(processId);
    if (process != nullptr) {
        if (GetProcessMemoryInfo(process, &counters, sizeof counters)) {
            usage.privateBytes = counters.PagefileUsage;
        }
        CloseHandle(process);
    }
    return usage;
}

// The least of five samples 200 ms apart: the sound and notice of the last
// kills come and go, the steady state is what stays.
Usage Measure(DWORD processId) {
    Usage least = MeasureOnce(processId);
    for (int i = 0; i < 4; ++i) {
        winetest::PumpFor(200);
        const Usage now = MeasureOnce(processId);
        least.handles = now.handles < least.handles ? now.handles : least.handles;
        least.privateBytes = now.privateBytes < least.privateBytes ? now.privateBytes : least.privateBytes;
    }
    return least;
}

double Ratio(double now, double then) { return then > 0 ? now / then : 0; }

class Soak : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Corvantine");
        DeleteFileA((winetest::ProgramDir() + "BlockedHistory.dat").c_str());
        main = winetest::StartTarnelix(tarnelix);
        ASSERT_NE(nullptr, main);
        winetest::PumpFor(300);
    }
    void TearDown() override {
        if (main != nullptr && IsWindow(main)) {
            EXPECT_TRUE(winetest::ExitTarnelix(tarnelix, main));
        }
    }

    // One browser session; its windows are added to `all`.
    void Run(int rounds, const std::string& out) {
        hooktest::Browser browser;
        hooktest::Windows windows;
        const DWORD start = GetTickCount();
        ASSERT_TRUE(browser.Start("IEXPLORE.EXE", hooktest::Script().Soak(rounds, gMoves), out));
        ASSERT_TRUE(browser.Finish(windows, 30u * 60u * 1000u)) << "the test browser failed or crashed";
        const DWORD ms = GetTickCount() - start;
        std::printf("soak: %d rounds, %zu windows, %d input events in %lu ms\n", rounds, windows.size(),
                    rounds * (gMoves + 2), static_cast<unsigned long>(ms));
        all.insert(all.end(), windows.begin(), windows.end());
    }

    // Waits until the counter shows every close the browsers received.
    int SettledCounter() {
        int closes = 0;
        for (const auto& w : all) {
            closes += w.sysCloses;
        }
        EXPECT_TRUE(winetest::WaitFor(
            [&] { return winetest::ReadTarnelixString("Settings", "PopupCounter") == std::to_string(closes); }, 60000))
            << "counter " << winetest::ReadTarnelixString("Settings", "PopupCounter") << ", closes " << closes;
        return closes;
    }

    winetest::Process tarnelix;
    HWND main = nullptr;
    hooktest::Windows all;
};

// The warm-up is a tenth of the run, at least 20 rounds; the run itself
// goes in four browser sessions, with the figures printed after each.
TEST_F(Soak, TarnelixKillsEveryPopupAndKeepsItsHandlesMemoryCounterAndHistory) {
    Run(gRounds / 10 > 20 ? gRounds / 10 : 20, "warmup.out");
    SettledCounter();
    const Usage warm = Measure(tarnelix.Id());
    int closes = 0;
    for (int part = 0; part < 4; ++part) {
        Run(gRounds / 4, "soak" + std::to_string(part) + ".out");
        closes = SettledCounter();
        const Usage now = Measure(tarnelix.Id());
        std::printf("soak: after part %d: %lu handles, %zu private bytes\n", part + 1,
                    static_cast<unsigned long>(now.handles), static_cast<size_t>(now.privateBytes));
    }
    const Usage end = Measure(tarnelix.Id());
    ASSERT_TRUE(tarnelix.Running()) << "Tarnelix crashed";

    std::set<std::string> killedTitles;
    int popups = 0;
    int usersKilled = 0;
    for (const auto& w : all) {
        const bool popup = w.name[0] == 'p';
        popups += popup ? 1 : 0;
        EXPECT_TRUE(!popup || w.sysCloses > 0) << w.name << " was never closed";
        EXPECT_TRUE(w.sysCloses == 0 || w.name[0] == 'p' || w.name[0] == 'u') << w.name << " was closed";
        usersKilled += w.name[0] == 'u' && w.sysCloses > 0 ? 1 : 0;
        if (w.sysCloses > 0) {
            char title[64];
            std::snprintf(title, sizeof title, "Soak %s %05d", popup ? "popup" : "user", std::atoi(w.name.c_str() + 2));
            killedTitles.insert(title);
        }
    }
    std::string expected;
    for (const std::string& title : killedTitles) {
        expected += "BLK:" + title + "\r\n";
    }
    EXPECT_EQ(expected, winetest::ReadWholeFile(winetest::ProgramDir() + "BlockedHistory.dat"));

    std::printf("soak: %d popups, %d closes, %d user frames taken for popups\n", popups, closes, usersKilled);
    std::printf("soak: handles %lu -> %lu (%.3f), private bytes %zu -> %zu (%.3f)\n",
                static_cast<unsigned long>(warm.handles), static_cast<unsigned long>(end.handles),
                Ratio(end.handles, warm.handles), static_cast<size_t>(warm.privateBytes),
                static_cast<size_t>(end.privateBytes), Ratio(end.privateBytes, warm.privateBytes));
    EXPECT_LE(end.handles, warm.handles * 1.1);
    EXPECT_LE(end.privateBytes, warm.privateBytes * 1.1);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        std::sscanf(argv[i], "--rounds=%d", &gRounds);
        std::sscanf(argv[i], "--moves=%d", &gMoves);
    }
    return RUN_ALL_TESTS();
}
