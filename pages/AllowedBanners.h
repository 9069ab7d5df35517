#pragma once

#include <functional>
#include <string>
#include <utility>
#include <string_view>

#include "pages/SortedTextList.h"
#include "platform/Files.h"
#include "platform/TextCompare.h"

// File of the allowed list, in the program folder.
inline constexpr char kAllowedFileName[] = "AllowBanners.dat";

// The allowed list behind the allowed-sites page: pieces of window title
// that protect a window from being killed. Every change is saved at once, so
// the file always holds what the list shows. The store and the comparison
// must outlive the page.
class AllowedBanners {
public:
    // `path` is program folder + kAllowedFileName.
    AllowedBanners(IFileStore& store, const ITextCompare& compare, std::string path);

    // Replaces the list with the file's entries; false when the file could
    // not be opened (the list is then empty). After a failed save the list
    // is saved first and, while that fails, kept as it is: reading the file
    // over it would lose the change.
    bool LoadFromFile();
    // Rewrites the file from the list; false when the save failed (the old
    // file is then left as it was, and the list is marked unsaved).
    bool SaveToFile();
    // True from a failed save until a save succeeds. A file that exists but
    // could not be read makes every save fail until it can be read: its
    // entries are then added to the list first (SortedTextList::AddMissing),
    // so neither they nor the changes in memory are lost.
    bool Unsaved() const { return unsaved; }
    // Told when a save has added entries of the file to the list, so that a
    // list box showing it can be filled again.
    void SetListChanged(std::function<void()> onChanged) { listChanged = std::move(onChanged); }

    // "Add Popup": adds the typed text, untrimmed, unless it is empty or an
    // entry already begins with it, ignoring case; saves when it added.
    bool OnAddPopup(const std::string& entryText);
    // "Remove": deletes the selected entries, then saves once, also when
    // nothing was selected.
    void OnRemove();
    // A title moved in by the history page's "Allow ": added without any
    // test (duplicates and empty text included) and saved at once.
    void AddMoved(const std::string& title);

    // True when some entry occurs in the title (case-sensitive, on character
    // starts). An empty title is never allowed; an empty entry occurs in
    // every other title.
    bool IsAllowed(std::string_view title) const;

    SortedTextList& List() { return list; }
    const SortedTextList& List() const { return list; }
    const std::string& Path() const { return path; }

private:
    IFileStore& store;
    const ITextCompare& compare;
    std::string path;
    SortedTextList list;
    bool unsaved = false;
    bool fileUnread = false;
    std::function<void()> listChanged;

    bool TakeInUnreadFile();
};
