#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct StringPair {
    std::string first;
    std::string second;
};

// Ordered list of text pairs; all comparisons are exact and case-sensitive.
// Pairs keep the order they were first set in. Used for the adware key
// table, the update listing and the updates table.
class StringPairList {
public:
    using const_iterator = std::vector<StringPair>::const_iterator;

    // Replaces the second of the pair whose first equals `first`, or appends
    // a new pair at the end.
    void Set(const std::string& first, std::string second);
    // The second of the pair with this first; empty when there is none.
    std::string Lookup(std::string_view first) const;
    // The pair with this first, or nullptr (tells a missing pair from an
    // empty second).
    const StringPair* FindByFirst(std::string_view first) const;
    // The first pair, in list order, whose second equals `second`, or nullptr.
    const StringPair* FindBySecond(std::string_view second) const;
    void Clear();

    // Cursor walk from the first pair to the last.
    std::size_t Count() const { return pairs.size(); }
    // An index out of range gives an empty pair.
    const StringPair& At(std::size_t index) const;
    const_iterator begin() const { return pairs.begin(); }
    const_iterator end() const { return pairs.end(); }

private:
    std::vector<StringPair> pairs;
    // Position of each first in `pairs`; lists of many thousand pairs are
    // built one Set at a time, which would otherwise cost O(n^2) compares.
    std::unordered_map<std::string, std::size_t> indexByFirst;
};
