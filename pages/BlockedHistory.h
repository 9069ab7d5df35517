#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "pages/AllowedBanners.h"
#include "pages/ListFiles.h"
#include "pages/SortedTextList.h"
#include "platform/Files.h"
#include "platform/TextCompare.h"

// File of the blocked history, in the program folder.
inline constexpr char kHistoryFileName[] = "BlockedHistory.dat";

// The blocked history behind its page: titles of killed windows. It is the
// user's record and, while automatic killing is off, the block list. Every
// change is saved at once. The store and the comparison must outlive it.
class BlockedHistory {
public:
    // `path` is program folder + kHistoryFileName.
    BlockedHistory(IFileStore& store, const ITextCompare& compare, std::string path);

    // With the rules of SortedListFile; a save that takes in the entries of
    // a file it could not read before tells SetTitleAdded of each one.
    bool LoadFromFile();
    bool SaveToFile();
    bool Unsaved() const { return file.Unsaved(); }

    // Records a killed window's title unless an entry already begins with
    // it, ignoring case ('Offer' after 'Offer of the day' adds nothing);
    // saves when it added. An empty title is never recorded: the file could
    // not hold it, and in memory it would make every untitled window a
    // blocked one.
    bool AddTitle(const std::string& title);
    // Told the index of every title AddTitle records, so that a list box
    // showing the list can insert it at the same place: a kill may come
    // while the page is open, and a list box one entry short would map
    // every later selection to the wrong title.
    void SetTitleAdded(std::function<void(std::size_t index)> onAdded) { titleAdded = std::move(onAdded); }
    // True when an entry equals the title, ignoring case. An empty title is
    // never blocked: the hook library reports child windows too, most of
    // them untitled, and an empty entry (a bare "BLK:" line) must not turn
    // them all into kills.
    bool IsBlockedTitle(std::string_view title) const;

    // "Remove": deletes the selected entries, then saves once, also when
    // nothing was selected.
    void OnRemove();
    // "Allow ": moves the selected entries to the allowed list, which is
    // saved once per moved title, then saves the history once. On an empty
    // list nothing happens and nothing is saved.
    void OnAllow(AllowedBanners& allowed);

    SortedTextList& List() { return list; }
    const SortedTextList& List() const { return list; }
    const std::string& Path() const { return file.Path(); }

private:
    SortedListFile file;
    SortedTextList list;
    std::function<void(std::size_t index)> titleAdded;
};
