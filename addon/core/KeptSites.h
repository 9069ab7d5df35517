// The kept-cookie list: web sites whose cookies the cleaning run keeps. The
// list lives in the add-on window's list view (no second copy); this class
// holds the rules of loading, saving, adding, removing and matching.
#pragma once

#include <string>

#include "platform/Files.h"
#include "platform/TextCompare.h"

inline constexpr char kKeptSitesFileName[] = "AllowCookies.dat";

// The sorted single-column list view that holds the sites.
class ISiteListView {
public:
    virtual ~ISiteListView() = default;
    virtual int Count() const = 0;
    virtual std::string ItemText(int index) const = 0;
    // The view moves the item to its sorted place.
    virtual void InsertItem(int index, const std::string& text) = 0;
    // Index of the item whose text equals `text` ignoring letter case, or -1.
    virtual int FindExact(const std::string& text) const = 0;
    // The first selected item, or -1.
    virtual int FirstSelected() const = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void DeleteAll() = 0;
};

enum class AddSiteResult {
    Empty,      // nothing typed: nothing happens
    Added,      // inserted and saved; the edit box is emptied
    Duplicate,  // already listed: nothing added, the edit box is emptied
};

class CKeptSites {
public:
    CKeptSites(ISiteListView& view, IFileStore& store, const ITextCompare& compare, std::string path)
        : view(view), store(store), compare(compare), path(std::move(path)) {}

    // Fills the view from the file: at most 10000 lines, each trimmed at
    // both ends, empty lines kept. A missing file leaves the view empty.
    void LoadKeptSites();
    // Rewrites the file with the items in the view's order; false when the
    // save failed (the old file then stays, the view keeps the change).
    bool SaveKeptSites();
    // True from a failed save until a save succeeds.
    bool Unsaved() const { return unsaved; }
    // The sites of a file that existed but could not be read at loading
    // (held by another program, no read access) are read now and added to
    // the view where missing. False while that still fails: the list is
    // then incomplete, every save fails rather than replace the file, and
    // the cleaning run keeps all cookies.
    bool TakeInUnreadFile();
    // `text` as typed, not trimmed.
    AddSiteResult AddSite(const std::string& text);
    // Deletes every selected item and saves, also when none was selected;
    // an empty list is neither touched nor saved.
    void RemoveSelectedSites();
    // True when the cookie's source URL name contains a kept site
    // (case-sensitive, whole characters). An empty entry keeps everything.
    bool IsKeptCookie(const std::string& name) const;

private:
    ISiteListView& view;
    IFileStore& store;
    const ITextCompare& compare;
    std::string path;
    bool unsaved = false;
    bool fileUnread = false;
};
