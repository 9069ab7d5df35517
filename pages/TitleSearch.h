#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/TextCompare.h"

// Exact, case-sensitive search for `piece` in `text` that steps over the
// two-byte characters of the ANSI code page whole: a match only counts when
// it starts on a character, never on the trail byte of one. An empty piece
// occurs in every text. A lead byte at the very end of the text stands alone.
bool ContainsWholeCharacters(std::string_view text, std::string_view piece, const ITextCompare& compare);

// The byte pairs that stand next to each other in one text, as a quick
// necessary condition for a match: a piece can only occur in the text when
// each of its adjacent byte pairs does. Checking a few bits per list entry
// rules most entries out without a search, which keeps a walk over a long
// allowed list cheap. Build it once per text, ask it for many pieces.
class BytePairFilter {
public:
    explicit BytePairFilter(std::string_view text);

    // False only when `piece` cannot occur in the text as bytes.
    bool MayContain(std::string_view piece) const;

private:
    bool Has(unsigned first, unsigned second) const;

    std::array<std::uint64_t, 65536 / 64> pairs{};
    std::array<std::uint64_t, 256 / 64> bytes{};
};
