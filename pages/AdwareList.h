#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/StringPairList.h"
#include "platform/TextCompare.h"

// (display name, lower-case process file name) per adware program.
using AdwareKeyTable = StringPairList;

struct AdwareItem {
    std::string name;
    bool checked = false;
};

// One program as read from a line of "Adware.dat".
struct AdwareRecord {
    std::string key;
    bool checked = false;
    std::string name;
};

// Model of the adware check-box list and its key table: items sorted by
// display name ignoring case, and one key-table pair per item in the order
// the items were added. Display names are unique (exact comparison). The
// comparison must outlive the list.
class AdwareList {
public:
    explicit AdwareList(const ITextCompare& compare);

    std::size_t Count() const { return items.size(); }
    // An index out of range gives an empty, unchecked item.
    const AdwareItem& ItemAt(std::size_t index) const;
    bool SetChecked(std::size_t index, bool checked);
    const AdwareKeyTable& KeyTable() const { return keyTable; }

    // Adds an item and its key-table pair; `key` is stored as given. False,
    // and nothing added, when the display name is already there.
    bool Add(std::string name, std::string key, bool checked);
    // Adds many records at once, in O(n log n); the result is the same as
    // adding them one by one in this order (first name wins).
    void AddAll(std::vector<AdwareRecord> records);
    bool HasName(std::string_view name) const { return keyTable.FindByFirst(name) != nullptr; }
    void Clear();

    // Display name of the first pair whose key equals `key` exactly.
    std::optional<std::string> FindNameByKey(std::string_view key) const;
    // Whether the first item, in list order, whose name begins with `name`
    // ignoring case is checked; false when there is none.
    bool IsCheckedByPrefix(std::string_view name) const;

private:
    const ITextCompare* compare;
    std::vector<AdwareItem> items;
    AdwareKeyTable keyTable;
};
