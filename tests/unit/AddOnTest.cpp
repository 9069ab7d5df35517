#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addon/core/AddOnProtocol.h"
#include "addon/core/KeptSites.h"
#include "addon/core/TraceCleaner.h"
#include "support/MemoryFileStore.h"

namespace {

// Records what the protocol asks of the window, as one line per act.
struct FakeAddOnHost final : IAddOnHost {
    WindowId desktopMain = 0;  // what a search finds
    bool mainAlive = true;
    std::vector<std::string> acts;

    WindowId FindMainWindow() override { return desktopMain; }
    bool IsWindow(WindowId) override { return mainAlive; }
    void PostRunNotice(WindowId w, RunNotice n) override {
        acts.push_back("notice " + std::to_string(static_cast<int>(n)) + " to " + std::to_string(w));
    }
    void PostDisableQuery(WindowId w) override { acts.push_back("query " + std::to_string(w)); }
    void StartTimer(unsigned id, unsigned ms) override {
        acts.push_back("start " + std::to_string(id) + " " + std::to_string(ms));
    }
    void StopTimer(unsigned id) override { acts.push_back("stop " + std::to_string(id)); }
    void ShowOnTop() override { acts.push_back("show"); }
    void EndAddOn() override { acts.push_back("end"); }
    void RunCleaners() override { acts.push_back("clean"); }
};
using Acts = std::vector<std::string>;

TEST(AddOnProtocol, GivesUpOnTheHundredAndTwentyFirstFailedSearch) {
    FakeAddOnHost host;
    CAddOnProtocol protocol(host);
    protocol.Start();
    EXPECT_EQ(host.acts, (Acts{"start 0 1000", "start 2 1800000"}));
    for (int attempt = 1; attempt <= 120; ++attempt) {
        ASSERT_TRUE(protocol.OnTimer(kFindMainWindowTimer));
    }
    EXPECT_EQ(protocol.ConnectAttempts(), 120);
    EXPECT_FALSE(protocol.OnTimer(kFindMainWindowTimer));
    EXPECT_EQ(host.acts.back(), "end");
}

TEST(AddOnProtocol, IgnoresNullSendersAndForgetsAVanishedMainWindowUntilTheNextAnswer) {
    FakeAddOnHost host;
    CAddOnProtocol protocol(host);
    protocol.Start();
    protocol.OnMainProgramMessage(MainProgramMessage::Disable, 0, 0);  // lParam 0 before attaching
    protocol.OnTimer(kCleaningRunTimer);
    EXPECT_TRUE(protocol.Disabled());
    host.desktopMain = 77;
    protocol.OnTimer(kFindMainWindowTimer);
    protocol.OnMainProgramMessage(MainProgramMessage::Disable, 0, 77);
    host.mainAlive = false;
    host.acts.clear();
    protocol.OnTimer(kCleaningRunTimer);
    EXPECT_EQ(host.acts, (Acts{"stop 1", "start 0 1000"}));
    EXPECT_TRUE(protocol.Disabled() && protocol.MainWindow() == 0);
    host.desktopMain = 90;
    host.mainAlive = true;
    protocol.OnTimer(kFindMainWindowTimer);
    protocol.OnTimer(kCleaningRunTimer);
    protocol.OnDestroy();
    EXPECT_EQ(host.acts, (Acts{"stop 1", "start 0 1000", "notice 1 to 90", "stop 0", "start 1 600000", "query 90",
                               "notice 0 to 90"}));
}

TEST(FolderSearchPattern, OneBackslashBeforeTheWildcardButANetworkPathKeepsItsLeadingPair) {
    EXPECT_EQ(FolderSearchPattern("C:\\WINDOWS\\Temp"), "C:\\WINDOWS\\Temp\\*.*");
    EXPECT_EQ(FolderSearchPattern("C:\\WINDOWS\\Temp\\"), "C:\\WINDOWS\\Temp\\*.*");
    EXPECT_EQ(FolderSearchPattern("\\\\server\\share\\\\Recent"), "\\\\server\\share\\Recent\\*.*");
}

// A cache of named entries; entries longer than the buffer report their size.
struct FakeUrlCache final : IUrlCache {
    std::vector<CacheEntry> entries;
    std::vector<std::size_t> sizes;  // bytes each entry needs
    std::size_t cursor = 0;
    int failRetryAt = -1;
    std::vector<std::string> deleted;
    bool closed = false;

    CacheRead Read(std::vector<unsigned char>& buffer, std::size_t& required, std::size_t index) {
        if (index >= entries.size()) {
            return CacheRead::NoMoreEntries;
        }
        if (sizes[index] > buffer.size() || static_cast<int>(index) == failRetryAt) {
            required = sizes[index];
            return CacheRead::BufferTooSmall;
        }
        buffer.assign(buffer.size(), static_cast<unsigned char>(index));
        cursor = index + 1;
        return CacheRead::Entry;
    }
    CacheRead FirstEntry(std::vector<unsigned char>& b, std::size_t& r) override { return Read(b, r, 0); }
    CacheRead NextEntry(std::vector<unsigned char>& b, std::size_t& r) override { return Read(b, r, cursor); }
    CacheEntry EntryIn(const std::vector<unsigned char>& b) const override { return entries[b[0]]; }
    void CloseWalk() override { closed = true; }
    bool RemoveEntry(const std::string& name) override {
        deleted.push_back(name);
        return true;
    }
};

struct NoTraces : ITraceFiles, ITraceRegistry, ISystemTraces {
    void ForEachEntry(const std::string&, const std::function<void(const FolderEntry&)>&) override {}
    bool RemoveFolder(const std::string&) override { return false; }
    std::optional<std::uint32_t> ReadAttributes(const std::string&) override { return std::nullopt; }
    bool WriteAttributes(const std::string&, std::uint32_t) override { return false; }
    bool RemoveFile(const std::string&) override { return false; }
    std::unique_ptr<IWipeTarget> OpenForWipe(const std::string&) override { return nullptr; }
    std::unique_ptr<IValueKey> OpenUserKey(const std::string&) override { return nullptr; }
    void ClearHistoryStore() override {}
    void ClearClipboard() override {}
    void EmptyRecycleBin() override {}
};

TEST(UrlCacheWalk, JudgesTheFirstEntryLastGrowsBuffersAndBreaksOffOnAFailedRetry) {
    FakeUrlCache cache;
    cache.entries = {{"Cookie:u@a.example/", kCookieCacheEntry}, {"http://a.example/", 1},
                     {"Cookie:u@kept.example/", kCookieCacheEntry}, {"Cookie:u@b.example/", kCookieCacheEntry}};
    cache.sizes = {5000, 100, 9000, 100};  // the first and the third need more than 4096 bytes
    NoTraces none;
    AsciiTextCompare compare;
    CTraceCleaner cleaner(none, cache, none, none, compare);
    TickedSteps cookiesOnly{};
    cookiesOnly[static_cast<std::size_t>(CleaningStep::Cookies)] = true;
    cleaner.Run(cookiesOnly, {}, [](const std::string& name) { return name.find("kept") != std::string::npos; });
    EXPECT_EQ(cache.deleted, (std::vector<std::string>{"Cookie:u@b.example/", "Cookie:u@a.example/"}));
    EXPECT_TRUE(cache.closed);

    cache.deleted.clear();
    cache.failRetryAt = 2;
    EXPECT_FALSE(cleaner.WalkUrlCache([](const CacheEntry&) { return true; }));
    EXPECT_EQ(cache.deleted, std::vector<std::string>{"http://a.example/"});  // the first entry was never judged
}

struct FakeValueKey final : IValueKey {
    std::vector<std::string>& values;
    explicit FakeValueKey(std::vector<std::string>& v) : values(v) {}
    ValueRead FirstValueName(std::string& name) override {
        if (values.empty()) {
            return ValueRead::NoMoreItems;
        }
        name = values.front();
        return name.size() >= kValueNameBufferSize ? ValueRead::Failed : ValueRead::Name;
    }
    bool RemoveValue(const std::string& name) override {
        if (name == "locked") {
            return false;
        }
        values.erase(values.begin());
        return true;
    }
};

TEST(DeleteAllValues, EmptiesTheKeyAndEndsOnAValueItCannotReadOrDelete) {
    struct : NoTraces {
        std::vector<std::string> values;
        std::unique_ptr<IValueKey> OpenUserKey(const std::string&) override {
            return std::make_unique<FakeValueKey>(values);
        }
    } registry;
    FakeUrlCache cache;
    AsciiTextCompare compare;
    CTraceCleaner cleaner(registry, cache, registry, registry, compare);
    for (const auto& values : {std::vector<std::string>{"a", "b", "MRUList"},
                               {"a", "locked", "c"}, {"a", std::string(300, 'x'), "c"}}) {
        registry.values = values;
        cleaner.DeleteAllValues(kRunMruKey);  // returns at all
        EXPECT_EQ(registry.values.size(), values[1] == "b" ? 0u : 2u) << values[1].substr(0, 8);
    }
}

}  // namespace

namespace {

// The list view as the add-on makes it: sorted, ignoring case.
struct SortedSiteView final : ISiteListView {
    std::vector<std::string> items;
    int Count() const override { return static_cast<int>(items.size()); }
    std::string ItemText(int index) const override { return items[static_cast<std::size_t>(index)]; }
    void InsertItem(int, const std::string& text) override {
        auto at = items.begin();
        while (at != items.end() && compare.CompareNoCase(*at, text) <= 0) ++at;
        items.insert(at, text);
    }
    int FindExact(const std::string& text) const override {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (compare.CompareNoCase(items[i], text) == 0) return static_cast<int>(i);
        }
        return -1;
    }
    int FirstSelected() const override { return -1; }
    void DeleteItem(int index) override { items.erase(items.begin() + index); }
    void DeleteAll() override { items.clear(); }
    AsciiTextCompare compare;
};

}  // namespace

// "AllowCookies.dat" held by another program when the add-on starts: the
// sites it lists must not be replaced by a save, nor their cookies deleted,
// until they have been read.
TEST(KeptSites, AFileUnreadableAtLoadingIsNeitherReplacedNorForgotten) {
    MemoryFileStore store;
    store.files["AllowCookies.dat"] = "kept.example\r\n";
    store.unopenable = {"AllowCookies.dat"};
    SortedSiteView view;
    CKeptSites sites(view, store, view.compare, "AllowCookies.dat");
    sites.LoadKeptSites();
    EXPECT_EQ(sites.AddSite("new.example"), AddSiteResult::Added);
    EXPECT_TRUE(sites.Unsaved());
    EXPECT_FALSE(sites.TakeInUnreadFile()) << "the cleaning run keeps every cookie meanwhile";
    EXPECT_EQ(store.files["AllowCookies.dat"], "kept.example\r\n");
    store.unopenable.clear();
    EXPECT_TRUE(sites.SaveKeptSites());
    EXPECT_EQ(store.files["AllowCookies.dat"], "kept.example\r\nnew.example\r\n");
    EXPECT_TRUE(sites.IsKeptCookie("Cookie:user@kept.example/"));
}
