// ISiteListView over the add-on window's list view control 1027.
#pragma once
#include <windows.h>

#include "addon/core/KeptSites.h"

namespace tarnelix {

class Win32SiteListView final : public ISiteListView {
public:
    explicit Win32SiteListView(HWND list) : list(list) {}

    // Report view, sorted ascending, no header; one left-aligned column
    // "Web Sites" of 350 pixels.
    void SetUp();

    int Count() const override;
    std::string ItemText(int index) const override;
    void InsertItem(int index, const std::string& text) override;
    int FindExact(const std::string& text) const override;
    int FirstSelected() const override;
    void DeleteItem(int index) override;
    void DeleteAll() override;

private:
    HWND list;
};

}  // namespace tarnelix
