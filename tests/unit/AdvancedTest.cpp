#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/core/AdwareScan.h"
#include "app/core/SystemGuards.h"
#include "pages/Advance.h"
#include "pages/ListFileIo.h"
#include "platform/TextCompare.h"
#include "support/FakeSettings.h"
#include "support/MemoryFileStore.h"

namespace {

const std::string kAdwarePath = "C:\\Tarnelix\\Adware.dat";

struct FakeProcess {
    ProcessId id;
    std::string name;
    bool opens = true;
    bool terminates = true;
};

// A process table; handles are the index + 1, and every open one is counted
// so that a leak shows.
class FakeProcesses final : public IProcesses {
public:
    std::vector<FakeProcess> table;
    bool noSnapshot = false;
    bool functionsFound = true;
    bool listingFails = false;
    std::vector<std::uint32_t> listingSizes;
    std::vector<std::string> terminated;  // "id:exit code"
    int openHandles = 0;

    bool WalkSnapshot(const std::function<void(ProcessId, std::string_view)>& visit) override
    {
        for (std::size_t i = 0; i < table.size() && !noSnapshot; ++i) {
            visit(table[i].id, table[i].name);
        }
        return !noSnapshot;
    }
    bool FindProcessStatusFunctions() override { return functionsFound; }
    bool EnumProcesses(ProcessId* ids, std::uint32_t bytes, std::uint32_t& bytesReturned) override
    {
        listingSizes.push_back(bytes);
        const std::size_t fits = std::min<std::size_t>(table.size(), bytes / sizeof(ProcessId));
        for (std::size_t i = 0; i < fits; ++i) {
            ids[i] = table[i].id;
        }
        bytesReturned = static_cast<std::uint32_t>(fits * sizeof(ProcessId));
        return !listingFails;
    }
    std::string FirstModuleBaseName(ProcessHandle process) override { return table[process - 1].name; }
    ProcessHandle OpenWithAllAccess(ProcessId id) override { return Open(id, true); }
    ProcessHandle OpenForTermination(ProcessId id) override { return Open(id, false); }
    std::optional<std::uint32_t> ExitCode(ProcessHandle process) override
    {
        return allAccess.at(process) ? std::optional<std::uint32_t>(259) : std::nullopt;  // still active
    }
    bool Terminate(ProcessHandle process, std::uint32_t exitCode) override
    {
        terminated.push_back(std::to_string(table[process - 1].id) + ":" + std::to_string(exitCode));
        return table[process - 1].terminates;
    }
    void Close(ProcessHandle) override { --openHandles; }

private:
    ProcessHandle Open(ProcessId id, bool all)
    {
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (table[i].id == id && table[i].opens) {
                ++openHandles;
                allAccess[i + 1] = all;
                return i + 1;
            }
        }
        return 0;
    }
    std::map<ProcessHandle, bool> allAccess;
};

class FakeBrowserKey final : public IBrowserKey {
public:
    std::map<std::string, std::string> values;
    std::optional<std::string> ReadString(const char* name) const override
    {
        const auto found = values.find(name);
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    bool WriteString(const char* name, const std::string& value) override
    {
        values[name] = value;
        return true;
    }
};

class AdvancedTest : public ::testing::Test {
protected:
    AdvancedTest()
    {
        store.files[kAdwarePath] = "spy.exe TRUE Spy Bar\r\nquiet.exe FALSE Quiet Tool\r\n"
                                   "skip.exe TRUE Skipper\r\n";
        model.LoadAdwareList([](const AdwareList&) {});
    }
    std::size_t Saves() const
    {
        return static_cast<std::size_t>(std::count(store.createdPaths.begin(), store.createdPaths.end(),
                                                   TemporaryPathFor(kAdwarePath)));
    }

    MemoryFileStore store;
    const AsciiTextCompare compare;
    FakeSettings settings;
    FakeBrowserKey browser;
    Advance model{store, compare, settings, browser, kAdwarePath};
};

// ---- Adware scanner -----------------------------------------------------------------

TEST_F(AdvancedTest, BothWaysKillListedCheckedProgramsAndCountOnlyWhatDied)
{
    const std::vector<FakeProcess> table = {
        {10, "SPY.EXE"},               // other letter case: killed
        {11, "quiet.exe"},             // listed, box clear: left alone
        {12, "spy.exe"},               // a second copy: killed too
        {13, "spy.exe", true, false},  // termination fails: not counted
        {14, "spy.exe", false},        // cannot be opened: skipped
        {15, "notepad.exe"},           // not listed
        {16, ""},                      // no name
    };
    // The tool-help handle may not query the exit code (0); the all-access
    // handle of the process-status way gets the still-active code 259.
    for (const auto& [osKind, code] : {std::pair{4, ":0"}, std::pair{5, ":259"}}) {
        FakeProcesses processes;
        processes.table = table;
        int kills = 0;
        CAdwareScanner scanner(processes, model, compare, [&] { ++kills; });
        EXPECT_EQ(scanner.ScanAdware(osKind), 1);
        const std::string c = code;
        EXPECT_EQ(processes.terminated, (std::vector<std::string>{"10" + c, "12" + c, "13" + c}));
        EXPECT_EQ(kills, 2) << "OsKind " << osKind;
        EXPECT_EQ(processes.openHandles, 0);
    }
}

TEST_F(AdvancedTest, ProcessStatusWayDoublesItsBufferAndGivesUpWhenItCannotList)
{
    FakeProcesses processes;
    for (ProcessId id = 1; id <= 600; ++id) {
        processes.table.push_back({id, id == 600 ? "spy.exe" : "idle.exe"});
    }
    int kills = 0;
    CAdwareScanner scanner(processes, model, compare, [&] { ++kills; });
    EXPECT_EQ(scanner.ScanAdware(5), 1);
    // 600 ids need 2400 bytes: 1024 and 2048 are full, 4096 is not.
    EXPECT_EQ(processes.listingSizes, (std::vector<std::uint32_t>{1024, 2048, 4096}));
    EXPECT_EQ(kills, 1);

    processes.listingFails = true;
    EXPECT_EQ(scanner.ScanAdware(5), 0);
    processes.functionsFound = false;
    EXPECT_EQ(scanner.ScanAdware(5), 0);
    processes.noSnapshot = true;
    EXPECT_EQ(scanner.ScanAdware(7), 1);  // no snapshot is no failure
    EXPECT_EQ(kills, 1);
}

// ---- Advanced page ---------------------------------------------------------------------

TEST_F(AdvancedTest, ItemChangesSaveOnlyOnceLoadedAndOnlyWhenACheckMarkIsInvolved)
{
    constexpr std::uint32_t off = kStateImageUnchecked;
    constexpr std::uint32_t on = kStateImageChecked;
    constexpr std::uint32_t selected = 0x0002;
    const struct {
        std::uint32_t oldState, newState;
        bool saves;
    } cases[] = {
        {off, on, true},                  // box set
        {on, off, true},                  // box cleared
        {on, on | selected, true},        // a checked item selected: rewritten unchanged
        {off, off | selected, false},     // an unchecked item selected
        {0, on, false},                   // the item is being inserted
    };
    for (const auto& c : cases) {
        const std::size_t before = Saves();
        EXPECT_EQ(model.OnAdwareItemChanged(1, c.oldState, c.newState), c.saves);
        EXPECT_EQ(Saves() - before, c.saves ? 1u : 0u) << c.oldState << " -> " << c.newState;
    }
    // The last save had "Skipper" (item 1 of Quiet Tool, Skipper, Spy Bar)
    // checked.
    EXPECT_NE(store.files[kAdwarePath].find("skip.exe TRUE Skipper\r\n"), std::string::npos);

    // Loading again marks every item while the list control is filled: no save.
    Advance fresh{store, compare, settings, browser, kAdwarePath};
    const std::size_t before = Saves();
    fresh.LoadAdwareList([&](const AdwareList& list) {
        for (std::size_t i = 0; i < list.Count(); ++i) {
            fresh.OnAdwareItemChanged(i, off, list.ItemAt(i).checked ? on : off);
        }
    });
    EXPECT_EQ(Saves(), before);
    EXPECT_TRUE(fresh.IsAdwareLoaded());
}

TEST_F(AdvancedTest, ScriptDebuggerAndStartPageGoToTheBrowserKey)
{
    model.OnDisableIEScriptDebugger(false);
    EXPECT_EQ(browser.values[kScriptDebuggerValue], "no");
    EXPECT_FALSE(model.IsSwitchOn(kDisableIEScriptDebuggerSetting));
    model.OnDisableIEScriptDebugger(true);
    EXPECT_EQ(browser.values[kScriptDebuggerValue], "yes");
    EXPECT_TRUE(model.IsSwitchOn(kDisableIEScriptDebuggerSetting));

    model.CaptureStartPage();  // no value yet: an empty page is protected
    browser.values[kStartPageValue] = "http://home/";
    EXPECT_FALSE(GuardHomePage(false, browser, model.GetProtectedStartPage()));
    EXPECT_TRUE(GuardHomePage(true, browser, model.GetProtectedStartPage()));
    EXPECT_EQ(browser.values[kStartPageValue], "");
}

// ---- Messenger guard --------------------------------------------------------------------

// A service whose state moves to the wanted one after `pollsToChange`
// queries; any step can fail.
class FakeServiceManager final : public IServiceManager {
public:
    std::uint32_t state = kServiceRunning;
    int pollsToChange = 3;
    bool opens = true, controlFails = false;
    int failQueryAt = -1;
    int queries = 0, pauses = 0;

    std::unique_ptr<IService> Open(const char* name, ServiceRequest) override
    {
        return opens && std::string(name) == "Messenger" ? std::make_unique<Service>(*this) : nullptr;
    }
    // A pause of any other length than a second would count a thousand.
    void Pause(unsigned milliseconds) override { pauses += milliseconds == 1000 ? 1 : 1000; }

private:
    struct Service final : IService {
        explicit Service(FakeServiceManager& m) : m(m) {}
        std::optional<std::uint32_t> QueryState() override
        {
            if (++m.queries == m.failQueryAt) {
                return std::nullopt;
            }
            if (target != 0 && --m.pollsToChange <= 0) {
                m.state = target;
            }
            return m.state;
        }
        bool Stop() override { return Request(kServiceStopped); }
        bool Start() override { return Request(kServiceRunning); }
        bool Request(std::uint32_t wanted)
        {
            target = m.controlFails ? 0 : wanted;
            return !m.controlFails;
        }
        FakeServiceManager& m;
        std::uint32_t target = 0;
    };
};

// Keeps the work until the test runs it, as a thread that has not run yet.
class HeldThreads final : public IWorkerThreads {
public:
    std::vector<std::function<void()>> held;
    bool fails = false;
    bool Start(std::function<void()> work) override
    {
        if (!fails) {
            held.push_back(std::move(work));
        }
        return !fails;
    }
};

TEST(MessengerGuard, WorkersPollOnceASecondReportAndDropRequestsWhileBusy)
{
    const struct {
        const char* what;
        std::uint32_t state;
        int pollsToChange, failQueryAt;
        bool opens, controlFails;
        int queries, pauses, reports;
        bool runningAfter;
    } cases[] = {
        {"stops on the third poll", kServiceRunning, 3, -1, true, false, 4, 2, 1, false},
        {"already stopped", kServiceStopped, 3, -1, true, false, 1, 0, 1, false},
        {"never stops: 60 polls", kServiceRunning, 99, -1, true, false, 61, 59, 1, true},
        {"stop refused", kServiceRunning, 3, -1, true, true, 1, 0, 0, true},
        {"a poll fails", kServiceRunning, 3, 2, true, false, 2, 0, 0, true},
        {"no such service", kServiceRunning, 3, -1, false, false, 0, 0, 0, true},
    };
    for (const auto& c : cases) {
        auto services = std::make_shared<FakeServiceManager>();
        services->state = c.state;
        services->pollsToChange = c.pollsToChange;
        services->failQueryAt = c.failQueryAt;
        services->opens = c.opens;
        services->controlFails = c.controlFails;
        HeldThreads threads;
        int reports = 0;
        auto guard = std::make_shared<CMessengerGuard>(services, threads, [&] { ++reports; });
        EXPECT_TRUE(guard->StopMessengerService(4, true)) << c.what;
        EXPECT_TRUE(guard->IsBusy());
        // A quick second click and the opposite one are both dropped.
        EXPECT_FALSE(guard->StopMessengerService(4, true));
        EXPECT_FALSE(guard->RestoreMessengerService(4, false));
        ASSERT_EQ(threads.held.size(), 1u);
        threads.held[0]();
        EXPECT_EQ(services->queries, c.queries) << c.what;
        EXPECT_EQ(services->pauses, c.pauses) << c.what;
        EXPECT_EQ(reports, c.reports) << c.what;
        EXPECT_EQ(guard->IsRunning(), c.runningAfter) << c.what;
        EXPECT_FALSE(guard->IsBusy());
    }
}

TEST(MessengerGuard, StartsOnlyOnTheNtFamilyWithTheBoxMatchingAndStartsTheServiceAgain)
{
    auto services = std::make_shared<FakeServiceManager>();
    HeldThreads threads;
    int reports = 0;
    auto guard = std::make_shared<CMessengerGuard>(services, threads, [&] { ++reports; });
    EXPECT_FALSE(guard->StopMessengerService(2, true));  // Windows 98
    EXPECT_FALSE(guard->StopMessengerService(4, false));
    EXPECT_FALSE(guard->RestoreMessengerService(4, false));  // still running
    threads.fails = true;
    EXPECT_FALSE(guard->StopMessengerService(7, true));
    EXPECT_FALSE(guard->IsBusy());
    threads.fails = false;
    ASSERT_TRUE(guard->StopMessengerService(7, true));
    threads.held.back()();
    EXPECT_FALSE(guard->IsRunning());

    services->pollsToChange = 1;
    ASSERT_TRUE(guard->RestoreMessengerService(6, false));
    threads.held.back()();
    EXPECT_TRUE(guard->IsRunning());
    EXPECT_EQ(services->state, kServiceRunning);
    EXPECT_EQ(reports, 2);
    guard->ForgetService();
    EXPECT_FALSE(guard->StopMessengerService(4, true));
}

}  // namespace
