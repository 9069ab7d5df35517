#include "pages/StringPairList.h"

#include <utility>

namespace {

const StringPair kNoPair;

}  // namespace

void StringPairList::Set(const std::string& first, std::string second)
{
    const auto found = indexByFirst.find(first);
    if (found != indexByFirst.end()) {
        pairs[found->second].second = std::move(second);
        return;
    }
    indexByFirst.emplace(first, pairs.size());
    pairs.push_back(StringPair{first, std::move(second)});
}

std::string StringPairList::Lookup(std::string_view first) const
{
    const StringPair* pair = FindByFirst(first);
    return pair != nullptr ? pair->second : std::string();
}

const StringPair* StringPairList::FindByFirst(std::string_view first) const
{
    const auto found = indexByFirst.find(std::string(first));
    return found != indexByFirst.end() ? &pairs[found->second] : nullptr;
}

const StringPair* StringPairList::FindBySecond(std::string_view second) const
{
    for (const StringPair& pair : pairs) {
        if (pair.second == second) {
            return &pair;
        }
    }
    return nullptr;
}

void StringPairList::Clear()
{
    pairs.clear();
    indexByFirst.clear();
}

const StringPair& StringPairList::At(std::size_t index) const
{
    return index < pairs.size() ? pairs[index] : kNoPair;
}
