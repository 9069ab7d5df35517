#include <gtest/gtest.h>

#include <map>

#include "ctrl/core/StartupControl.h"
#include "support/MemoryFileStore.h"

namespace {

using S = std::string;
const S kDir = "C:\\T\\";
const S kNew = kDir + "New\\";
const S kGoodDer("\x30\x06\x02\x01\x01\x02\x01\x02", 8);  // r = 1, s = 2

TEST(SignatureFormat, OnlyStrictDerOfTwoPositiveScalarsBecomesRAndSOf32BytesEach) {
    const S s5("\x02\x01\x05", 3);
    const S r32 = S("\x02\x21\x00\x80", 4) + S(31, '\x11');  // padded because of its top bit
    const struct { S der; int rLast; } cases[] = {  // rLast: last byte of r, -1 for refused
        {kGoodDer, 1},
        {"\x30\x26" + r32 + s5, 0x11},
        {"", -1},
        {S("\x30", 1), -1},
        {S("\x31\x06\x02\x01\x01\x02\x01\x02", 8), -1},                 // not a sequence
        {S("\x30\x07\x02\x01\x01\x02\x01\x02", 8), -1},                 // longer than the data
        {kGoodDer + '\0', -1},                                          // trailing byte
        {S("\x30\x81\x06\x02\x01\x01\x02\x01\x02", 9), -1},             // long length form
        {S("\x30\x06\x04\x01\x01\x02\x01\x02", 8), -1},                 // r not an integer
        {S("\x30\x06\x02\x01\x80\x02\x01\x02", 8), -1},                 // negative r
        {S("\x30\x06\x02\x01\x00\x02\x01\x02", 8), -1},                 // zero r
        {S("\x30\x07\x02\x02\x00\x01\x02\x01\x02", 9), -1},             // needless padding
        {S("\x30\x03\x02\x01\x01", 5), -1},                             // s missing
        {S("\x30\x09\x02\x01\x01\x02\x01\x02\x02\x01\x03", 11), -1},    // a third integer
        {S("\x30\x06\x02\x05\x01\x02\x01\x02", 8), -1},                 // r runs past the sequence
        {"\x30\x26\x02\x21\x7f" + S(32, '\x11') + s5, -1},              // r 33 bytes wide
    };
    for (const auto& c : cases) {
        const auto raw = RawSignatureFromDer(c.der);
        ASSERT_EQ(c.rLast >= 0, raw.has_value()) << testing::PrintToString(c.der);
        if (raw) {
            EXPECT_EQ(c.rLast, (*raw)[31]);
        }
    }
    RawSignature expected{};
    expected[31] = 1;
    expected[63] = 2;
    EXPECT_EQ(expected, *RawSignatureFromDer(kGoodDer));
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
    MemoryFileStore store;
    bool Exists(const S& path) override { return store.files.count(path) != 0; }
    bool CreateFolder(const S&) override { return true; }
    std::vector<S> FileNames(const S& folder) override {
        std::vector<S> names;
        for (const auto& file : store.files) {
            if (file.first.rfind(folder, 0) == 0) {
                names.push_back(file.first.substr(folder.size()));
            }
        }
        return names;
    }
};

// Locked files, tampered and missing signatures: the Wine test of TarnelixCtrl.exe.
TEST(UpdateInstall, OnlyValidlySignedPlainNamesReplaceTheirFilesAndTheOldOnesAreKept) {
    Disk disk;
    FakeVerifier verifier;
    disk.store.files = {{kDir + "Tarnelix.exe", "old"},     {kNew + "Tarnelix.exe", "signed main"},
                        {kNew + "Tarnelix.exe.sig", kGoodDer}, {kNew + "Fresh.dat", "signed fresh"},
                        {kNew + "Fresh.dat.sig", kGoodDer},  {kNew + "Garbage.dll", "signed"},
                        {kNew + "Garbage.dll.sig", "\x30\x01"}, {kNew + "CON.dll", "signed"},
                        {kNew + "CON.dll.sig", kGoodDer},    {kNew + "Half.dll.part", "signed"}};
    std::map<S, UpdateOutcome> outcomes;
    for (const UpdateReport& report : CUpdateInstaller(disk.store, disk, disk, verifier).ApplyAll(kDir)) {
        outcomes[report.name] = report.outcome;
    }
    EXPECT_EQ((std::map<S, UpdateOutcome>{{"CON.dll", UpdateOutcome::NotPlainName},
                                          {"Fresh.dat", UpdateOutcome::Applied},
                                          {"Garbage.dll", UpdateOutcome::BadSignature},
                                          {"Tarnelix.exe", UpdateOutcome::Applied}}),
              outcomes);
    EXPECT_EQ((std::map<S, S>{{kDir + "Fresh.dat", "signed fresh"}, {kDir + "Tarnelix.exe", "signed main"},
                              {kDir + "Tarnelix.exe.bak", "old"}, {kNew + "CON.dll", "signed"},
                              {kNew + "CON.dll.sig", kGoodDer}, {kNew + "Garbage.dll", "signed"},
                              {kNew + "Garbage.dll.sig", "\x30\x01"}, {kNew + "Half.dll.part", "signed"}}),
              disk.store.files);
}

TEST(StartupLog, KeepsItsNewestHalfWhenItGrowsTooBig) {
    MemoryFileStore store;
    store.files["log"] = S(kMaxLogBytes, 'x') + "\nlast\n";
    AppendToLog(store, "log", "now", {"new"});
    EXPECT_EQ("last\nnow new\r\n", store.files["log"].substr(store.files["log"].size() - 14));
    EXPECT_LT(store.files["log"].size(), kMaxLogBytes / 2 + 20);
}

}  // namespace
