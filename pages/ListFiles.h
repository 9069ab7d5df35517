#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/AdwareList.h"
#include "pages/ListFileIo.h"
#include "pages/SortedTextList.h"
#include "platform/Files.h"
#include "platform/TextCompare.h"

// Reading and saving of the four list files. Every read empties its list
// first and reads at most `maxLines` lines; a file that cannot be opened
// leaves the list empty and gives false. Every save replaces the whole file
// through a temporary file (see SaveLinesReplacing): on failure the old file
// stays as it was, the list keeps its content, and false comes back.

// "AllowBanners.dat": the entry per line, trailing white space trimmed,
// empty lines skipped.
bool ReadAllowedFile(IFileStore& store, const std::string& path, SortedTextList& list,
                     std::size_t maxLines = kMaxListLines);
bool WriteAllowedFile(IFileStore& store, const std::string& path, const SortedTextList& list);

// "BlockedHistory.dat": "BLK:" and the title per line. Lines without the
// exact prefix are skipped; "BLK:" alone gives an empty entry, which is
// read but never written.
bool ReadBlockedHistoryFile(IFileStore& store, const std::string& path, SortedTextList& list,
                            std::size_t maxLines = kMaxListLines);
bool WriteBlockedHistoryFile(IFileStore& store, const std::string& path, const SortedTextList& list);

// "Adware.dat": key, flag and display name per line. The key is lower-cased
// by `compare`; only the flag "FALSE" clears the check box; the first line
// with a given display name wins.
bool ReadAdwareFile(IFileStore& store, const std::string& path, const ITextCompare& compare, AdwareList& list,
                    std::size_t maxLines = kMaxListLines);
bool WriteAdwareFile(IFileStore& store, const std::string& path, const AdwareList& list);
// Splits one line; nullopt when it holds no display name. The key comes back
// as written in the line.
std::optional<AdwareRecord> ParseAdwareLine(std::string_view line);

// The file behind a sorted list that every change rewrites (the allowed
// list, the blocked history), with the rules that keep both sides whole:
// - a save that failed marks the list unsaved; the next load saves first
//   and, while that fails, keeps the list instead of reading over it;
// - a file that exists but cannot be read (held by another program, no read
//   access) is not an empty list: the list stays as it was, and every save
//   fails until the file can be read, when its entries join the list
//   (SortedTextList::AddMissing) before it is written.
class SortedListFile {
public:
    using Reader = bool (*)(IFileStore&, const std::string&, SortedTextList&, std::size_t);
    using Writer = bool (*)(IFileStore&, const std::string&, const SortedTextList&);
    // Told the index of each entry a save took in from the file.
    using Added = std::function<void(std::size_t index)>;

    // The store and the comparison must outlive it.
    SortedListFile(IFileStore& store, const ITextCompare& compare, std::string path, Reader read, Writer write);

    // Replaces `list` with the file's entries; false when the file could not
    // be read (a missing file then empties the list) or an unsaved list
    // could not be saved first.
    bool Load(SortedTextList& list, const Added& added);
    bool Save(SortedTextList& list, const Added& added);
    bool Unsaved() const { return unsaved; }
    const std::string& Path() const { return path; }

private:
    bool TakeInUnreadFile(SortedTextList& list, const Added& added);

    IFileStore& store;
    const ITextCompare& compare;
    std::string path;
    Reader read;
    Writer write;
    bool unsaved = false;
    bool fileUnread = false;
};

// "AllowCookies.dat": site i is line i, trimmed at both ends; empty lines
// are kept as empty entries. The add-on inserts site i as item i of its
// sorted list view.
bool ReadKeptSitesFile(IFileStore& store, const std::string& path, std::vector<std::string>& sites,
                       std::size_t maxLines = kMaxListLines);
bool WriteKeptSitesFile(IFileStore& store, const std::string& path, const std::vector<std::string>& sites);
