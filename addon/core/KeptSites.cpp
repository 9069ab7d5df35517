#include "addon/core/KeptSites.h"

#include <vector>

#include "pages/ListFiles.h"
#include "pages/TitleSearch.h"

void CKeptSites::LoadKeptSites()
{
    if (view.Count() > 0) {
        view.DeleteAll();
    }
    std::vector<std::string> sites;
    // A file that exists but cannot be read is not an empty list: see
    // TakeInUnreadFile.
    fileUnread = !ReadKeptSitesFile(store, path, sites) && store.Exists(path);
    for (std::size_t i = 0; i < sites.size(); ++i) {
        view.InsertItem(static_cast<int>(i), sites[i]);
    }
}

bool CKeptSites::TakeInUnreadFile()
{
    if (!fileUnread) {
        return true;
    }
    std::vector<std::string> sites;
    if (!ReadKeptSitesFile(store, path, sites)) {
        fileUnread = store.Exists(path);
        return !fileUnread;
    }
    for (const std::string& site : sites) {
        if (view.FindExact(site) < 0) {
            view.InsertItem(view.Count(), site);
        }
    }
    fileUnread = false;
    return true;
}

bool CKeptSites::SaveKeptSites()
{
    if (!TakeInUnreadFile()) {
        unsaved = true;
        return false;
    }
    std::vector<std::string> sites;
    const int count = view.Count();
    for (int i = 0; i < count; ++i) {
        sites.push_back(view.ItemText(i));
    }
    unsaved = !WriteKeptSitesFile(store, path, sites);
    return !unsaved;
}

AddSiteResult CKeptSites::AddSite(const std::string& text)
{
    if (text.empty()) {
        return AddSiteResult::Empty;
    }
    if (view.FindExact(text) >= 0) {
        return AddSiteResult::Duplicate;
    }
    view.InsertItem(view.Count(), text);
    SaveKeptSites();
    return AddSiteResult::Added;
}

void CKeptSites::RemoveSelectedSites()
{
    if (view.Count() == 0) {
        return;
    }
    for (int selected = view.FirstSelected(); selected >= 0; selected = view.FirstSelected()) {
        const int before = view.Count();
        view.DeleteItem(selected);
        if (view.Count() == before) {
            break;  // a view that refuses the deletion must not hold us here
        }
    }
    SaveKeptSites();
}

bool CKeptSites::IsKeptCookie(const std::string& name) const
{
    // The count is read on every round: the list is what it is right now.
    for (int i = 0; i < view.Count(); ++i) {
        if (ContainsWholeCharacters(name, view.ItemText(i), compare)) {
            return true;
        }
    }
    return false;
}
