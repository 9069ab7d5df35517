#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

// Letter-case rules of the user's locale for 8-bit ANSI text. The lists sort
// and search ignoring case the way the platform's list controls do, so the
// comparison is injected rather than hard-wired to ASCII.
class ITextCompare {
public:
    virtual ~ITextCompare() = default;
    // Negative, zero or positive as `a` sorts before, equal to or after `b`,
    // ignoring letter case.
    virtual int CompareNoCase(std::string_view a, std::string_view b) const = 0;
    // Lower-case copy of the text; multi-byte characters of the code page are
    // kept whole.
    virtual std::string ToLower(std::string_view text) const = 0;
    // True when the byte starts a two-byte character of the ANSI code page,
    // so that searches can step over such characters whole: a trail byte may
    // equal an ASCII letter, and a match that starts there is no match.
    virtual bool IsLeadByte(unsigned char byte) const = 0;
};

// Portable default: folds only A to Z and orders by byte value after folding.
// Bytes from 0x80 up pass through unchanged, so accented letters are not
// folded. It does not know double-byte code pages, where a trail byte may fall
// in A to Z; the Windows build uses the locale-aware adapter instead.
class AsciiTextCompare final : public ITextCompare {
public:
    int CompareNoCase(std::string_view a, std::string_view b) const override
    {
        const std::size_t common = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < common; ++i) {
            const unsigned char ca = Fold(a[i]);
            const unsigned char cb = Fold(b[i]);
            if (ca != cb) {
                return ca < cb ? -1 : 1;
            }
        }
        if (a.size() == b.size()) {
            return 0;
        }
        return a.size() < b.size() ? -1 : 1;
    }

    std::string ToLower(std::string_view text) const override
    {
        std::string lower(text);
        for (char& c : lower) {
            c = static_cast<char>(Fold(c));
        }
        return lower;
    }

    bool IsLeadByte(unsigned char) const override { return false; }

private:
    static unsigned char Fold(char c)
    {
        const auto byte = static_cast<unsigned char>(c);
        return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
    }
};
