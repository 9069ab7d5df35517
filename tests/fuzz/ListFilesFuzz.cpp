// The four list-file readers on arbitrary file contents, each followed by a
// save and a second reading: what a save wrote must read back as the same
// list, whatever the first file held.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "pages/ListFiles.h"
#include "support/MemoryFileStore.h"

namespace {

constexpr const char* kIn = "C:\\in.dat";
constexpr const char* kOut = "C:\\out.dat";
// Small enough to hit the line limit with short inputs.
constexpr std::size_t kMaxLines = 64;

std::vector<std::string> Texts(const SortedTextList& list)
{
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        texts.push_back(list.TextAt(i));
    }
    return texts;
}

void CheckSortedList(MemoryFileStore& store, const AsciiTextCompare& compare, bool history)
{
    SortedTextList first(compare);
    SortedTextList again(compare);
    auto read = history ? ReadBlockedHistoryFile : ReadAllowedFile;
    auto write = history ? WriteBlockedHistoryFile : WriteAllowedFile;
    Require(read(store, kIn, first, kMaxLines));
    Require(first.Count() <= kMaxLines);
    Require(write(store, kOut, first));
    Require(read(store, kOut, again, kMaxLines + first.Count()));
    std::vector<std::string> expected;
    for (const std::string& text : Texts(first)) {
        if (!history || !text.empty()) {
            expected.push_back(text);
        }
    }
    Require(Texts(again) == expected);
}

void CheckAdware(MemoryFileStore& store, const AsciiTextCompare& compare)
{
    AdwareList first(compare);
    AdwareList again(compare);
    Require(ReadAdwareFile(store, kIn, compare, first, kMaxLines));
    Require(WriteAdwareFile(store, kOut, first));
    Require(ReadAdwareFile(store, kOut, compare, again, kMaxLines + first.Count()));
    Require(again.Count() == first.Count());
    for (std::size_t i = 0; i < first.Count(); ++i) {
        Require(again.ItemAt(i).name == first.ItemAt(i).name);
        Require(again.ItemAt(i).checked == first.ItemAt(i).checked);
    }
}

void CheckKeptSites(MemoryFileStore& store)
{
    std::vector<std::string> first;
    std::vector<std::string> again;
    Require(ReadKeptSitesFile(store, kIn, first, kMaxLines));
    Require(WriteKeptSitesFile(store, kOut, first));
    Require(ReadKeptSitesFile(store, kOut, again, kMaxLines + first.size()));
    Require(again == first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MemoryFileStore store;
    store.files[kIn].assign(reinterpret_cast<const char*>(data), size);
    const AsciiTextCompare compare;
    CheckSortedList(store, compare, false);
    CheckSortedList(store, compare, true);
    CheckAdware(store, compare);
    CheckKeptSites(store);
    Require(store.files.count(TemporaryPathFor(kOut)) == 0);
    return 0;
}
