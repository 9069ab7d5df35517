#include "pages/TitleSearch.h"

#include <cstddef>

namespace {

// Start of the character after the one at `pos`.
std::size_t NextCharacter(std::string_view text, std::size_t pos, const ITextCompare& compare)
{
    const bool twoBytes = compare.IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size();
    return pos + (twoBytes ? 2 : 1);
}

}  // namespace

bool ContainsWholeCharacters(std::string_view text, std::string_view piece, const ITextCompare& compare)
{
    // The byte search (memchr and memcmp underneath) finds candidates fast;
    // character starts are worked out only as far as a candidate lies, so a
    // title without any hit costs no per-character work at all.
    std::size_t boundary = 0;
    std::size_t hit = text.find(piece);
    while (hit != std::string_view::npos) {
        while (boundary < hit) {
            boundary = NextCharacter(text, boundary, compare);
        }
        if (boundary == hit) {
            return true;
        }
        // The hit began on a trail byte; the next character start is the
        // earliest place a real match can begin.
        hit = text.find(piece, boundary);
    }
    return false;
}

BytePairFilter::BytePairFilter(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned byte = static_cast<unsigned char>(text[i]);
        bytes[byte / 64] |= std::uint64_t{1} << (byte % 64);
        if (i + 1 < text.size()) {
            const unsigned pair = byte << 8 | static_cast<unsigned char>(text[i + 1]);
            pairs[pair / 64] |= std::uint64_t{1} << (pair % 64);
        }
    }
}

bool BytePairFilter::Has(unsigned first, unsigned second) const
{
    const unsigned pair = first << 8 | second;
    return (pairs[pair / 64] >> (pair % 64) & 1) != 0;
}

bool BytePairFilter::MayContain(std::string_view piece) const
{
    if (piece.size() == 1) {
        const unsigned byte = static_cast<unsigned char>(piece[0]);
        return (bytes[byte / 64] >> (byte % 64) & 1) != 0;
    }
    for (std::size_t i = 0; i + 1 < piece.size(); ++i) {
        if (!Has(static_cast<unsigned char>(piece[i]), static_cast<unsigned char>(piece[i + 1]))) {
            return false;
        }
    }
    return true;
}
