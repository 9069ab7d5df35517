#include "pages/ListFiles.h"

#include <utility>

namespace {

constexpr std::string_view kBlockedPrefix = "BLK:";
constexpr std::string_view kFlagOn = "TRUE";
constexpr std::string_view kFlagOff = "FALSE";

// Reads the lines of one file through `toEntry`, which returns false for a
// line to skip, and collects the entries in file order.
template <typename ToEntry>
bool CollectEntries(IFileStore& store, const std::string& path, std::size_t maxLines,
                    std::vector<std::string>& entries, ToEntry toEntry)
{
    return ReadLines(store, path, maxLines, [&](std::string_view line, std::size_t) {
        std::string entry;
        if (toEntry(line, entry)) {
            entries.push_back(std::move(entry));
        }
        return true;
    });
}

// Skips a run of spaces, then returns the token up to the next space.
std::string_view NextToken(std::string_view text, std::size_t& pos)
{
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    const std::size_t begin = pos;
    while (pos < text.size() && text[pos] != ' ') {
        ++pos;
    }
    return text.substr(begin, pos - begin);
}

}  // namespace

bool ReadAllowedFile(IFileStore& store, const std::string& path, SortedTextList& list, std::size_t maxLines)
{
    list.Clear();
    std::vector<std::string> entries;
    const bool opened = CollectEntries(store, path, maxLines, entries, [](std::string_view line, std::string& out) {
        const std::string_view text = TrimTrailingSpace(line);
        out.assign(text);
        return !text.empty();
    });
    list.AddAll(std::move(entries));
    return opened;
}

bool WriteAllowedFile(IFileStore& store, const std::string& path, const SortedTextList& list)
{
    return SaveLinesReplacing(store, path, [&](LineWriter& writer) {
        for (std::size_t i = 0; i < list.Count(); ++i) {
            writer.WriteLine(list.TextAt(i));
        }
    });
}

bool ReadBlockedHistoryFile(IFileStore& store, const std::string& path, SortedTextList& list,
                            std::size_t maxLines)
{
    list.Clear();
    std::vector<std::string> entries;
    const bool opened = CollectEntries(store, path, maxLines, entries, [](std::string_view line, std::string& out) {
        const std::string_view text = TrimTrailingSpace(line);
        if (text.substr(0, kBlockedPrefix.size()) != kBlockedPrefix) {
            return false;
        }
        out.assign(text.substr(kBlockedPrefix.size()));
        return true;
    });
    list.AddAll(std::move(entries));
    return opened;
}

bool WriteBlockedHistoryFile(IFileStore& store, const std::string& path, const SortedTextList& list)
{
    return SaveLinesReplacing(store, path, [&](LineWriter& writer) {
        std::string record;
        for (std::size_t i = 0; i < list.Count(); ++i) {
            const std::string& title = list.TextAt(i);
            if (title.empty()) {
                continue;
            }
            record.assign(kBlockedPrefix);
            record += title;
            writer.WriteLine(record);
        }
    });
}

std::optional<AdwareRecord> ParseAdwareLine(std::string_view line)
{
    const std::string_view text = TrimLeadingSpace(TrimTrailingSpace(line));
    std::size_t pos = 0;
    const std::string_view key = NextToken(text, pos);
    const std::string_view flag = NextToken(text, pos);
    // After trimming, a line that ends with the flag has no name; otherwise
    // the flag is followed by exactly the one space that the name starts after.
    if (flag.empty() || pos + 1 >= text.size()) {
        return std::nullopt;
    }
    return AdwareRecord{std::string(key), flag != kFlagOff, std::string(text.substr(pos + 1))};
}

bool ReadAdwareFile(IFileStore& store, const std::string& path, const ITextCompare& compare, AdwareList& list,
                    std::size_t maxLines)
{
    list.Clear();
    std::vector<AdwareRecord> records;
    const bool opened = ReadLines(store, path, maxLines, [&](std::string_view line, std::size_t) {
        std::optional<AdwareRecord> record = ParseAdwareLine(line);
        if (record) {
            record->key = compare.ToLower(record->key);
            records.push_back(std::move(*record));
        }
        return true;
    });
    list.AddAll(std::move(records));
    return opened;
}

bool WriteAdwareFile(IFileStore& store, const std::string& path, const AdwareList& list)
{
    return SaveLinesReplacing(store, path, [&](LineWriter& writer) {
        std::string record;
        for (std::size_t i = 0; i < list.Count(); ++i) {
            const AdwareItem& item = list.ItemAt(i);
            record = list.KeyTable().Lookup(item.name);
            record += ' ';
            record += item.checked ? kFlagOn : kFlagOff;
            record += ' ';
            record += item.name;
            writer.WriteLine(record);
        }
    });
}

bool ReadKeptSitesFile(IFileStore& store, const std::string& path, std::vector<std::string>& sites,
                       std::size_t maxLines)
{
    sites.clear();
    return CollectEntries(store, path, maxLines, sites, [](std::string_view line, std::string& out) {
        out.assign(TrimLeadingSpace(TrimTrailingSpace(line)));
        return true;
    });
}

bool WriteKeptSitesFile(IFileStore& store, const std::string& path, const std::vector<std::string>& sites)
{
    return SaveLinesReplacing(store, path, [&](LineWriter& writer) {
        for (const std::string& site : sites) {
            writer.WriteLine(site);
        }
    });
}

SortedListFile::SortedListFile(IFileStore& store, const ITextCompare& compare, std::string path, Reader read,
                               Writer write)
    : store(store), compare(compare), path(std::move(path)), read(read), write(write)
{
}

bool SortedListFile::Load(SortedTextList& list, const Added& added)
{
    // Reading the file over a change that never reached it would lose the
    // change; it is saved first, and kept in memory while that still fails.
    if (unsaved && !Save(list, added)) {
        return false;
    }
    SortedTextList fromFile(compare);
    if (read(store, path, fromFile, kMaxListLines)) {
        list = std::move(fromFile);
        fileUnread = false;
        return true;
    }
    fileUnread = store.Exists(path);
    if (!fileUnread) {
        list.Clear();
    }
    return false;
}

bool SortedListFile::Save(SortedTextList& list, const Added& added)
{
    unsaved = !TakeInUnreadFile(list, added) || !write(store, path, list);
    return !unsaved;
}

bool SortedListFile::TakeInUnreadFile(SortedTextList& list, const Added& added)
{
    if (!fileUnread) {
        return true;
    }
    SortedTextList fromFile(compare);
    if (!read(store, path, fromFile, kMaxListLines)) {
        fileUnread = store.Exists(path);
        return !fileUnread;
    }
    list.AddMissing(fromFile, added);
    fileUnread = false;
    return true;
}
