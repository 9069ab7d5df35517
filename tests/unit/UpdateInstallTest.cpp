#include <gtest/gtest.h>

#include <map>
#include <set>

#include "ctrl/core/StartupControl.h"
#include "support/MemoryFileStore.h"

namespace {

const std::string kDir = "C:\\T\\";
const std::string kNew = kDir + "New\\";
// r = 1, s = 2 as openssl would write them.
const std::string kGoodDer("\x30\x06\x02\x01\x01\x02\x01\x02", 8);

std::string Hex(const RawSignature& raw) {
    std::string hex;
    for (std::uint8_t b : raw) {
        hex += "0123456789abcdef"[b >> 4];
        hex += "0123456789abcdef"[b & 15];
    }
    return hex;
}

TEST(SignatureFormat, OnlyStrictDerOfTwoPositiveScalarsBecomesRawRAndS) {
    const std::string r33 = std::string("\x02\x21\x00\x80", 4) + std::string(31, '\x11');  // 0x80 then 31 bytes: 32 wide
    const std::string s1("\x02\x01\x05", 3);
    const struct {
        std::string der;
        const char* rHexTail;  // last bytes of r in hex; nullptr: refused
    } cases[] = {
        {kGoodDer, "01"},
        {"\x30\x26" + r33 + s1, "1111"},
        {"", nullptr},
        {std::string("\x30", 1), nullptr},
        {std::string("\x31\x06\x02\x01\x01\x02\x01\x02", 8), nullptr},     // not a sequence
        {std::string("\x30\x07\x02\x01\x01\x02\x01\x02", 8), nullptr},     // sequence longer than the data
        {kGoodDer + '\0', nullptr},                                        // trailing byte
        {std::string("\x30\x81\x06\x02\x01\x01\x02\x01\x02", 9), nullptr}, // long length form
        {std::string("\x30\x06\x04\x01\x01\x02\x01\x02", 8), nullptr},     // r not an integer
        {std::string("\x30\x06\x02\x01\x80\x02\x01\x02", 8), nullptr},     // negative r
        {std::string("\x30\x06\x02\x01\x00\x02\x01\x02", 8), nullptr},     // zero r
        {std::string("\x30\x07\x02\x02\x00\x01\x02\x01\x02", 9), nullptr}, // needless padding
        {std::string("\x30\x03\x02\x01\x01", 5), nullptr},                 // s missing
        {std::string("\x30\x09\x02\x01\x01\x02\x01\x02\x02\x01\x03", 11), nullptr},  // third integer
        {std::string("\x30\x06\x02\x05\x01\x02\x01\x02", 8), nullptr},     // r runs past the sequence
        {"\x30\x26\x02\x21\x7f" + std::string(32, '\x11') + s1, nullptr},   // r 33 bytes wide
    };
    for (const auto& c : cases) {
        const auto raw = RawSignatureFromDer(c.der);
        ASSERT_EQ(c.rHexTail != nullptr, raw.has_value()) << testing::PrintToString(c.der);
        if (raw) {
            const std::string hex = Hex(*raw);
            EXPECT_EQ(c.rHexTail, hex.substr(64 - std::string(c.rHexTail).size(), std::string(c.rHexTail).size()));
            EXPECT_EQ(128u, hex.size());
        }
    }
    EXPECT_EQ(std::string(62, '0') + "01" + std::string(62, '0') + "02", Hex(*RawSignatureFromDer(kGoodDer)));
}

// Accepts the signature r = 1, s = 2 over data that begins "signed".
class FakeVerifier final : public ISignatureVerifier {
public:
    bool Verify(std::string_view data, const RawSignature& signature) override {
        return signature == *RawSignatureFromDer(kGoodDer) && data.substr(0, 6) == "signed";
    }
};

class Disk final : public IFolders, public IFolderListing {
public:
    explicit Disk(MemoryFileStore& store) : store(store) {}
    bool Exists(const std::string& path) override { return store.files.count(path) != 0; }
    bool CreateFolder(const std::string&) override { return true; }
    std::vector<std::string> FileNames(const std::string& folder) override {
        std::vector<std::string> names;
        for (const auto& [path, content] : store.files) {
            if (path.rfind(folder, 0) == 0) {
                names.push_back(path.substr(folder.size()));
            }
        }
        return names;
    }
    MemoryFileStore& store;
};

class FakeSystem final : public IStartupSystem {
public:
    std::set<std::string> running;
    std::vector<std::string> started;
    unsigned windowAfterWaits = 3;
    unsigned waits = 0;
    std::vector<unsigned> posted;
    bool InstanceRunning(const char* mutexName) override { return running.count(mutexName) != 0; }
    bool StartProgram(const std::string& path) override { return started.push_back(path), true; }
    bool PostInstalledUpdates(unsigned count) override {
        return waits >= windowAfterWaits && (posted.push_back(count), true);
    }
    void Wait(unsigned) override { ++waits; }
    std::string Now() override { return "2026-12-07 18:00:00"; }
};

class UpdateInstall : public ::testing::Test {
protected:
    void SetUp() override {
        store.files = {
            {kDir + "Tarnelix.exe", "old main"},      {kNew + "Tarnelix.exe", "signed main"},
            {kNew + "Tarnelix.exe.sig", kGoodDer},    {kNew + "Fresh.dat", "signed fresh"},
            {kNew + "Fresh.dat.sig", kGoodDer},       {kNew + "Unsigned.dll", "signed but no sig"},
            {kNew + "Tampered.dll", "evil"},          {kNew + "Tampered.dll.sig", kGoodDer},
            {kNew + "Garbage.dll", "signed"},         {kNew + "Garbage.dll.sig", "\x30\x01"},
            {kNew + "CON.dll", "signed"},             {kNew + "CON.dll.sig", kGoodDer},
            {kNew + "Half.dll.part", "signed"},
        };
    }
    std::map<std::string, UpdateOutcome> ApplyAll() {
        std::map<std::string, UpdateOutcome> outcomes;
        for (const UpdateReport& report : installer.ApplyAll(kDir)) {
            outcomes[report.name] = report.outcome;
        }
        return outcomes;
    }

    MemoryFileStore store;
    Disk disk{store};
    FakeVerifier verifier;
    CUpdateInstaller installer{store, disk, disk, verifier};
};

TEST_F(UpdateInstall, OnlyValidlySignedPlainNamesReplaceTheirFilesAndTheOldOnesAreKept) {
    EXPECT_EQ((std::map<std::string, UpdateOutcome>{{"CON.dll", UpdateOutcome::NotPlainName},
                                                    {"Fresh.dat", UpdateOutcome::Applied},
                                                    {"Garbage.dll", UpdateOutcome::BadSignature},
                                                    {"Tampered.dll", UpdateOutcome::BadSignature},
                                                    {"Tarnelix.exe", UpdateOutcome::Applied},
                                                    {"Unsigned.dll", UpdateOutcome::NoSignature}}),
              ApplyAll());
    EXPECT_EQ("signed main", store.files[kDir + "Tarnelix.exe"]);
    EXPECT_EQ("old main", store.files[kDir + "Tarnelix.exe.bak"]);
    EXPECT_EQ("signed fresh", store.files[kDir + "Fresh.dat"]);
    EXPECT_EQ(0u, store.files.count(kDir + "Fresh.dat.bak"));
    for (const char* gone : {"Tarnelix.exe", "Tarnelix.exe.sig", "Fresh.dat", "Fresh.dat.sig"}) {
        EXPECT_EQ(0u, store.files.count(kNew + gone)) << gone;
    }
    for (const char* kept : {"Unsigned.dll", "Tampered.dll", "Tampered.dll.sig", "Garbage.dll", "Half.dll.part"}) {
        EXPECT_EQ(1u, store.files.count(kNew + kept)) << kept;
    }
    EXPECT_EQ(0u, store.files.count(kDir + "Tampered.dll"));
}

TEST_F(UpdateInstall, AFileHeldOpenStaysAndSoDoesItsUpdateWithoutLeftovers) {
    const auto held = store.OpenForRead(kDir + "Tarnelix.exe");
    EXPECT_EQ(UpdateOutcome::InUse, ApplyAll()["Tarnelix.exe"]);
    EXPECT_EQ("old main", store.files[kDir + "Tarnelix.exe"]);
    EXPECT_EQ("signed main", store.files[kNew + "Tarnelix.exe"]);
    EXPECT_EQ(0u, store.files.count(kDir + "Tarnelix.exe.new") + store.files.count(kDir + "Tarnelix.exe.bak"));
}

TEST_F(UpdateInstall, TheLogOnRunWaitsWhileTarnelixRunsAndOtherwiseAnnouncesWhatItInstalled) {
    FakeSystem system;
    system.running = {"Tarnelix Version 3"};
    EXPECT_EQ(0u, RunAtLogOn(installer, system, store, kDir));
    EXPECT_EQ("old main", store.files[kDir + "Tarnelix.exe"]);
    EXPECT_EQ(std::vector<std::string>{kDir + "Veilmark-AddOn.exe"}, system.started);

    system.running = {"Veilmark"};
    system.started.clear();
    EXPECT_EQ(2u, RunAtLogOn(installer, system, store, kDir));
    EXPECT_EQ(std::vector<std::string>{kDir + "Tarnelix.exe"}, system.started);
    EXPECT_EQ(std::vector<unsigned>{2}, system.posted);
    EXPECT_EQ(3u, system.waits);
    const std::string log = store.files[kDir + "TarnelixCtrl.log"];
    EXPECT_NE(std::string::npos, log.find("2026-12-07 18:00:00 Tarnelix.exe is running"));
    EXPECT_NE(std::string::npos, log.find("Tampered.dll: left in New\\: the signature is not valid\r\n"));
    EXPECT_NE(std::string::npos, log.find("told Tarnelix.exe about 2 installed update(s)"));
}

TEST(StartupLog, KeepsItsNewestHalfWhenItGrowsTooBig) {
    MemoryFileStore store;
    store.files["log"] = std::string(kMaxLogBytes, 'x') + "\nlast\n";
    AppendToLog(store, "log", "now", {"new"});
    EXPECT_EQ("last\nnow new\r\n", store.files["log"].substr(store.files["log"].size() - 14));
    EXPECT_LT(store.files["log"].size(), kMaxLogBytes / 2 + 20);
}

}  // namespace
