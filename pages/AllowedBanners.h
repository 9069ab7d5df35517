#pragma once

#include <functional>
#include <string>
#include <utility>
#include <string_view>

#include "pages/ListFiles.h"
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

    // Load and save with the rules of SortedListFile: a failed save keeps
    // the change and marks the list unsaved, and a file that could not be
    // read is never saved over before its entries have joined the list.
    bool LoadFromFile();
    bool SaveToFile();
    // True from a failed save until a save succeeds.
    bool Unsaved() const { return file.Unsaved(); }
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
    const std::string& Path() const { return file.Path(); }

private:
    const ITextCompare& compare;
    SortedListFile file;
    SortedTextList list;
    std::function<void()> listChanged;

    // Runs a load or save and calls listChanged once if it took in entries.
    bool TellingListChanged(const std::function<bool(const SortedListFile::Added&)>& fileOperation);
};
