#pragma once

#include <string>
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
    // True from a failed save until a save succeeds.
    bool Unsaved() const { return unsaved; }

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
};
