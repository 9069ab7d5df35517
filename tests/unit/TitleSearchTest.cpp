#include <gtest/gtest.h>

#include <random>
#include <string>

#include "pages/AllowedBanners.h"
#include "pages/TitleSearch.h"
#include "platform/TextCompare.h"
#include "support/MemoryFileStore.h"

namespace {

// Shift-JIS-like code page: lead bytes 0x81–0x9F and 0xE0–0xFC; the trail
// byte may be an ASCII letter ("\x83\x41" is katakana A, whose trail is 'A').
class DoubleByteCompare final : public ITextCompare {
public:
    int CompareNoCase(std::string_view a, std::string_view b) const override { return ascii.CompareNoCase(a, b); }
    std::string ToLower(std::string_view text) const override { return ascii.ToLower(text); }
    bool IsLeadByte(unsigned char byte) const override
    {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    }

private:
    AsciiTextCompare ascii;
};

const AsciiTextCompare kSingleByte;
const DoubleByteCompare kDoubleByte;

}  // namespace

TEST(TitleSearch, FindsPieceAnywhereWithSameCaseAndTheEmptyPieceEverywhere)
{
    EXPECT_TRUE(ContainsWholeCharacters("My Bank - Browser", "Bank", kSingleByte));
    EXPECT_TRUE(ContainsWholeCharacters("Bank", "Bank", kSingleByte));
    EXPECT_TRUE(ContainsWholeCharacters("Big Bank", "Bank", kSingleByte));
    EXPECT_FALSE(ContainsWholeCharacters("my bank", "Bank", kSingleByte));
    EXPECT_FALSE(ContainsWholeCharacters("Ban", "Bank", kSingleByte));
    EXPECT_TRUE(ContainsWholeCharacters("anything", "", kSingleByte));
    EXPECT_TRUE(ContainsWholeCharacters("", "", kSingleByte));
}

TEST(TitleSearch, MatchStartingOnATrailByteDoesNotCount)
{
    // Bytes 83 41 42 43: the 'A' is the second half of katakana A.
    const std::string title = "\x83" "ABC";
    EXPECT_FALSE(ContainsWholeCharacters(title, "ABC", kDoubleByte));
    EXPECT_TRUE(ContainsWholeCharacters(title, "BC", kDoubleByte));
    EXPECT_TRUE(ContainsWholeCharacters(title, "\x83" "A", kDoubleByte));
    // A single-byte code page has no trail bytes, so the same bytes match.
    EXPECT_TRUE(ContainsWholeCharacters(title, "ABC", kSingleByte));
}

TEST(TitleSearch, LaterMatchOnACharacterStartStillCountsAndATrailingLeadByteStandsAlone)
{
    // 83 41 | 41 42 : the first "AB" starts on a trail byte, the second is real.
    const std::string title = "\x83" "AAB";
    EXPECT_TRUE(ContainsWholeCharacters(title, "AB", kDoubleByte));
    // 83 41 | 83 41 | 42 : "AB"... only at a trail byte.
    EXPECT_FALSE(ContainsWholeCharacters("\x83" "A" "\x83" "AB", "AB", kDoubleByte));
    // A lead byte at the end stands alone.
    EXPECT_TRUE(ContainsWholeCharacters("News\x83", "\x83", kDoubleByte));
    EXPECT_TRUE(ContainsWholeCharacters("News\x83", "News", kDoubleByte));
}

TEST(TitleSearch, AllowedEntryStartingOnATrailByteDoesNotProtect)
{
    MemoryFileStore store;
    AllowedBanners allowed(store, kDoubleByte, "AllowBanners.dat");
    allowed.List().Add("ABC");
    EXPECT_FALSE(allowed.IsAllowed("\x83" "ABC"));
    EXPECT_TRUE(allowed.IsAllowed("\x83" "AABC"));
}

TEST(BytePairFilter, RulesOutPiecesWithAPairTheTextLacks)
{
    const BytePairFilter filter("My Bank - Browser");
    EXPECT_TRUE(filter.MayContain("Bank"));
    EXPECT_TRUE(filter.MayContain(""));
    EXPECT_TRUE(filter.MayContain("B"));
    EXPECT_FALSE(filter.MayContain("Q"));
    EXPECT_FALSE(filter.MayContain("Bx"));
    EXPECT_FALSE(filter.MayContain("bank"));
    // Every pair present but not in one run: only a hint, the search decides.
    EXPECT_TRUE(filter.MayContain("My Browser"));
}

TEST(BytePairFilter, NeverRulesOutAPieceThatOccurs)
{
    // 2000 random texts over a small alphabet, so that hits are frequent.
    std::mt19937 random(1234);
    const std::string alphabet = "ab \x83\xe0";
    auto make = [&](std::size_t length) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        return text;
    };
    int hits = 0;
    for (int round = 0; round < 2000; ++round) {
        const std::string text = make(random() % 24);
        const std::string piece = make(random() % 5);
        const BytePairFilter filter(text);
        if (text.find(piece) != std::string::npos) {
            ++hits;
            EXPECT_TRUE(filter.MayContain(piece)) << "text '" << text << "' piece '" << piece << "'";
        }
        if (ContainsWholeCharacters(text, piece, kDoubleByte)) {
            EXPECT_NE(text.find(piece), std::string::npos);
        }
    }
    EXPECT_GT(hits, 500);
}
