#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextCompare.h"

// The in-memory model of the allowed, history and add-popups lists: texts in
// ascending order ignoring case (by the injected locale rules), each with a
// selection mark. Duplicates are allowed. Indexes out of range are answered,
// not trusted: they read as an empty, unselected entry and change nothing.
// The comparison must outlive the list.
class SortedTextList {
public:
    explicit SortedTextList(const ITextCompare& compare);

    std::size_t Count() const { return entries.size(); }
    bool IsEmpty() const { return entries.empty(); }
    const std::string& TextAt(std::size_t index) const;
    bool IsSelected(std::size_t index) const;
    bool SetSelected(std::size_t index, bool selected);

    // Inserts at the sorted place, after entries equal to `text`; returns
    // the new entry's index. The entry starts unselected.
    std::size_t Add(std::string text);
    // Adds many texts at once; the order is the same as adding them one by
    // one, at O(n log n) cost.
    void AddAll(std::vector<std::string> texts);
    // Later entries move up by one; false for an index out of range.
    bool DeleteAt(std::size_t index);
    void Clear() { entries.clear(); }

    // First entry, in list order, that begins with `prefix` ignoring case.
    std::optional<std::size_t> FindPrefix(std::string_view prefix) const;
    // First entry equal to `text` ignoring case.
    std::optional<std::size_t> FindExact(std::string_view text) const;
    // Adds each entry of `other` that has no equal here (ignoring case) and
    // tells `added` the index each one got.
    void AddMissing(const SortedTextList& other, const std::function<void(std::size_t index)>& added);

private:
    struct Entry {
        std::string text;
        bool selected = false;
    };

    const ITextCompare* compare;
    std::vector<Entry> entries;
};
