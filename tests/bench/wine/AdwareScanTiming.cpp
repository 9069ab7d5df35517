// Times ScanAdware under Wine over 200 running FakeAdware copies, against a
// bare walk of the same tool-help snapshot measured in the same run, and
// prints the medians and their ratio. Targets: at most 1.5 times the bare
// walk and at most 50 ms per scan. The copies run under 20 names that are
// all on a list of 100 programs with their boxes clear, so every one is
// looked up and asked for its box, and none is killed. Run by wine-run.sh
// (wine.adware_scan_bench); it fails only when it cannot run, not on a
// missed target, which it reports.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/core/AdwareScan.h"
#include "common/OsKind.h"
#include "pages/Advance.h"
#include "platform/win32/Win32BrowserKey.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32TextCompare.h"

#include "wine/WineTiming.h"

namespace {

using winebench::Median;
using winebench::Time;

constexpr int kProcesses = 200;
constexpr int kNames = 20;
constexpr int kListed = 100;
constexpr int kRounds = 11;

std::string Folder(const char* variable) {
    const char* value = std::getenv(variable);
    std::string folder = value != nullptr ? value : "";
    if (!folder.empty() && folder.back() != '\\') {
        folder += '\\';
    }
    return folder;
}

// Settings are not touched by the scan; the model only needs somewhere to
// keep them.
class NoSettings final : public ISettings {
public:
    int GetProfileInt(const std::string&, const std::string&, int value) const override { return value; }
    bool WriteProfileInt(const std::string&, const std::string&, int) override { return false; }
    std::string GetProfileString(const std::string&, const std::string&, const std::string& value) const override {
        return value;
    }
    bool WriteProfileString(const std::string&, const std::string&, const std::string&) override { return false; }
};

// The walk the scanner does, without looking at the names.
int BareWalk() {
    HANDLE snapshot = CreateToolhelp32Snapshot(
        TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD | TH32CS_SNAPHEAPLIST | TH32CS_SNAPMODULE, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return 0;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        ++count;
    }
    CloseHandle(snapshot);
    return count;
}

std::string ProgramName(int i) {
    return "benchadware" + std::to_string(i) + ".exe";
}

}  // namespace

int main() {
    const std::string tools = Folder("TARNELIX_TOOLS_DIR");
    const std::string scratch = Folder("TARNELIX_TEST_DIR");
    const std::string listPath = scratch + kAdwareFileName;
    {
        std::ofstream list(listPath, std::ios::binary);
        for (int i = 0; i < kListed; ++i) {
            list << ProgramName(i) << " FALSE Bench Adware " << i << "\r\n";
        }
    }
    std::vector<PROCESS_INFORMATION> started;
    for (int i = 0; i < kProcesses; ++i) {
        const std::string path = scratch + ProgramName(i % kNames);
        CopyFileA((tools + "FakeAdware.exe").c_str(), path.c_str(), TRUE);
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
            started.push_back(info);
        }
    }
    Sleep(2000);  // let every copy finish starting

    Win32FileStore store;
    Win32TextCompare compare;
    NoSettings settings;
    Win32BrowserKey browser;
    Advance adware(store, compare, settings, browser, listPath);
    adware.LoadAdwareList([](const AdwareList&) {});
    HMODULE psapi = LoadLibraryA("PSAPI.DLL");
    Win32Processes processes(psapi);
    int kills = 0;
    CAdwareScanner scanner(processes, adware, compare, [&] { ++kills; });

    std::vector<double> bare, toolHelp, processStatus;
    int entries = 0;
    int results = 0;
    for (int round = 0; round < kRounds; ++round) {
        bare.push_back(Time([&] { entries = BareWalk(); }));
        toolHelp.push_back(Time([&] { results += scanner.ScanAdware(kOsWindowsXp); }));
        processStatus.push_back(Time([&] { results += scanner.ScanAdware(kOsWindowsNt4); }));
    }
    for (const PROCESS_INFORMATION& info : started) {
        TerminateProcess(info.hProcess, 0);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }

    const double ratio = Median(toolHelp) / Median(bare);
    const bool met = ratio <= 1.5 && Median(toolHelp) <= 50.0;
    std::printf("adware scan: %zu test processes of %d in the snapshot, %d listed programs, %d rounds\n",
                started.size(), entries, static_cast<int>(adware.List().Count()), kRounds);
    std::printf("  median bare snapshot walk %.2f ms, ScanAdware (tool-help) %.2f ms: %.2fx "
                "(targets <= 1.5x, <= 50 ms): %s\n",
                Median(bare), Median(toolHelp), ratio, met ? "met" : "MISSED");
    std::printf("  ScanAdware (process-status way, NT 4.0) %.2f ms\n", Median(processStatus));
    const bool ran = static_cast<int>(started.size()) == kProcesses && entries >= kProcesses &&
                     results == 2 * kRounds && kills == 0;
    if (!ran) {
        std::printf("adware scan: could not run (started %zu, results %d, kills %d)\n", started.size(), results,
                    kills);
    }
    if (psapi != nullptr) {
        FreeLibrary(psapi);
    }
    return ran ? 0 : 1;
}
