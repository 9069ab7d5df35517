#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/AdwareScan.h"
#include "app/core/SystemGuards.h"
#include "pages/Advance.h"
#include "support/FakeSettings.h"
#include "support/MemoryFileStore.h"

namespace {

// A process table: a handle is the index + 1; open handles are counted, so
// that a leak shows.
struct FakeProcesses final : IProcesses {
    struct Process {
        ProcessId id;
        std::string name;
        bool opens = true, terminates = true;
    };
    std::vector<Process> table;
    bool listingFails = false;
    std::vector<std::uint32_t> listingSizes;
    std::vector<ProcessId> terminated;
    int openHandles = 0;

    bool WalkSnapshot(const std::function<void(ProcessId, std::string_view)>& visit) override
    {
        for (const Process& process : table) {
            visit(process.id, process.name);
        }
        return true;
    }
    bool FindProcessStatusFunctions() override { return true; }
    bool EnumProcesses(ProcessId* ids, std::uint32_t bytes, std::uint32_t& returned) override
    {
        listingSizes.push_back(bytes);
        for (returned = 0; returned / 4 < table.size() && returned < bytes; returned += 4) {
            ids[returned / 4] = table[returned / 4].id;
        }
        return !listingFails;
    }
    std::string FirstModuleBaseName(ProcessHandle process) override { return table[process - 1].name; }
    ProcessHandle OpenWithAllAccess(ProcessId id) override { return OpenForTermination(id); }
    ProcessHandle OpenForTermination(ProcessId id) override
    {
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (table[i].id == id && table[i].opens) {
                ++openHandles;
                return i + 1;
            }
        }
        return 0;
    }
    std::optional<std::uint32_t> ExitCode(ProcessHandle) override { return std::nullopt; }
    bool Terminate(ProcessHandle process, std::uint32_t) override
    {
        terminated.push_back(table[process - 1].id);
        return table[process - 1].terminates;
    }
    void Close(ProcessHandle) override { --openHandles; }
};

struct NoBrowserKey final : IBrowserKey {
    std::optional<std::string> ReadString(const char*) const override { return std::nullopt; }
    bool WriteString(const char*, const std::string&) override { return false; }
};

// The Advanced page's model over an "Adware.dat" of the given content, loaded.
struct LoadedAdware {
    explicit LoadedAdware(const char* content)
    {
        store.files["Adware.dat"] = content;
        adware.LoadAdwareList([](const AdwareList&) {});
    }
    MemoryFileStore store;
    const AsciiTextCompare compare;
    FakeSettings settings;
    NoBrowserKey browser;
    Advance adware{store, compare, settings, browser, "Adware.dat"};
};

TEST(AdwareScan, BothWaysKillListedCheckedProgramsCountOnlyWhatDiedAndDoubleTheIdBuffer)
{
    LoadedAdware loaded("spy.exe TRUE Spy Bar\r\nquiet.exe FALSE Quiet Tool\r\n");
    Advance& adware = loaded.adware;
    const AsciiTextCompare& compare = loaded.compare;
    for (const int osKind : {4, 5}) {  // tool-help, process-status
        FakeProcesses processes;
        processes.table = {
            {10, "SPY.EXE"},               // other letter case: killed
            {11, "quiet.exe"},             // listed, box clear: left alone
            {12, "spy.exe"},               // a second copy: killed too
            {13, "spy.exe", true, false},  // the termination fails: not counted
            {14, "spy.exe", false},        // cannot be opened: skipped
            {15, ""},                      // no name
        };
        // 600 processes need 2400 bytes of ids: 1024 and 2048 come back full.
        for (ProcessId id = 16; id <= 600; ++id) {
            processes.table.push_back({id, "idle.exe"});
        }
        int kills = 0;
        CAdwareScanner scanner(processes, adware, compare, [&] { ++kills; });
        EXPECT_EQ(scanner.ScanAdware(osKind), 1);
        EXPECT_EQ(processes.terminated, (std::vector<ProcessId>{10, 12, 13}));
        EXPECT_EQ(kills, 2) << "OsKind " << osKind;
        EXPECT_EQ(processes.openHandles, 0);
        EXPECT_EQ(processes.listingSizes, (osKind == 5 ? std::vector<std::uint32_t>{1024, 2048, 4096}
                                                         : std::vector<std::uint32_t>{}));
        processes.listingFails = true;
        EXPECT_EQ(scanner.ScanAdware(osKind), osKind == 5 ? 0 : 1);
    }
}

// A check box changed while another program holds "Adware.dat": the list
// keeps the change until a later save gets through.
TEST(AdwareList, AChangeWhoseSaveFailedStaysUnsavedUntilASaveGetsThrough)
{
    LoadedAdware loaded("spy.exe TRUE Spy Bar\r\n");
    Advance& adware = loaded.adware;
    MemoryFileStore& store = loaded.store;
    store.failMove = true;
    EXPECT_TRUE(adware.OnAdwareItemChanged(0, kStateImageChecked, kStateImageUnchecked));
    EXPECT_TRUE(adware.AdwareUnsaved());
    EXPECT_FALSE(adware.IsAdwareChecked("Spy Bar"));
    EXPECT_EQ(store.files["Adware.dat"], "spy.exe TRUE Spy Bar\r\n");
    store.failMove = false;
    EXPECT_TRUE(adware.SaveAdwareList());
    EXPECT_FALSE(adware.AdwareUnsaved());
    EXPECT_EQ(store.files["Adware.dat"], "spy.exe FALSE Spy Bar\r\n");
}

// A service that reaches the wanted state on the `pollsToChange`th query
// after the request; any step can fail.
struct FakeServiceManager final : IServiceManager, IService {
    std::uint32_t state = kServiceRunning, target = 0;
    int pollsToChange = 3, failQueryAt = -1, queries = 0, pauses = 0;
    bool opens = true, refuses = false;

    std::unique_ptr<IService> Open(const char* name, ServiceRequest) override
    {
        struct Handle final : IService {
            explicit Handle(IService& service) : service(service) {}
            std::optional<std::uint32_t> QueryState() override { return service.QueryState(); }
            bool Stop() override { return service.Stop(); }
            bool Start() override { return service.Start(); }
            IService& service;
        };
        return opens && std::string(name) == "Messenger" ? std::make_unique<Handle>(*this) : nullptr;
    }
    // A pause of any other length than a second counts a thousand.
    void Pause(unsigned milliseconds) override { pauses += milliseconds == 1000 ? 1 : 1000; }
    std::optional<std::uint32_t> QueryState() override
    {
        if (++queries == failQueryAt) {
            return std::nullopt;
        }
        if (target != 0 && --pollsToChange <= 0) {
            state = target;
        }
        return state;
    }
    bool Stop() override { return Request(kServiceStopped); }
    bool Start() override { return Request(kServiceRunning); }
    bool Request(std::uint32_t wanted)
    {
        target = refuses ? 0 : wanted;
        return !refuses;
    }
};

// Keeps the work until the test runs it, as a thread that has not run yet.
struct HeldThreads final : IWorkerThreads {
    std::vector<std::function<void()>> held;
    bool Start(std::function<void()> work) override
    {
        held.push_back(std::move(work));
        return true;
    }
};

TEST(MessengerGuard, StopWorkerPollsOnceASecondAtMost60TimesAndDropsRequestsWhileBusy)
{
    const struct {
        const char* what;
        std::uint32_t state;
        int pollsToChange, failQueryAt;
        bool opens, refuses;
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
        services->refuses = c.refuses;
        HeldThreads threads;
        int reports = 0;
        auto guard = std::make_shared<CMessengerGuard>(services, threads, [&] { ++reports; });
        EXPECT_FALSE(guard->StopMessengerService(2, true)) << "Windows 98 has no such service";
        EXPECT_TRUE(guard->StopMessengerService(4, true)) << c.what;
        // A second click and the opposite one before the worker ends are dropped.
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

}  // namespace
