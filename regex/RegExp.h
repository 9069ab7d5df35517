#pragma once

#include <cstddef>
#include <string>

#include <pcre.h>

// Perl-style matching over byte strings: Match compiles a pattern with
// modifier letters (g, i, m, s, x) and keeps the spans of what it found, so the
// caller can fetch the texts afterwards. Results stay readable until the next
// Match; one object serves one thread at a time.
class CRegExp {
public:
    static constexpr int kSpanInts = 150;  // whole match and 49 groups per execution
    static constexpr int kMaxGlobalMatches = 50;

    CRegExp() = default;
    ~CRegExp();
    // Owns a compiled pattern, so a copy would free it twice.
    CRegExp(const CRegExp&) = delete;
    CRegExp& operator=(const CRegExp&) = delete;

    // Single mode: number of the highest group PCRE reported (0 for a match
    // without groups), -1 for no match, a negative PCRE code on failure.
    // Global mode ("g"): group 1 of up to 50 successive matches, their count.
    // An empty subject or a pattern that does not compile gives 0.
    // The caller's texts are never changed.
    int Match(const std::string& subject, const std::string& pattern, const std::string& modifiers);
    // Match with the search starting at byte `startOffset` of the subject, so
    // a long text can be read match by match without copying what is left of
    // it each time. Spans and GetMatchEnd count from the start of the whole
    // subject. For patterns that do not look behind (no lookbehind, \b or
    // multiline ^) this finds what Match finds in the text after the offset.
    // An offset at or past the end gives 0, as an empty subject does.
    int MatchFrom(const std::string& subject, std::size_t startOffset, const std::string& pattern,
                  const std::string& modifiers);
    // Text of span n (1-based); empty when n is out of range or the group did
    // not take part in the match.
    std::string GetMatch(int n) const;
    // End offset of span n; -1 when the count is 0, -2 when n is out of range.
    int GetMatchEnd(int n) const;

private:
    void Reset();
    int MatchSingle(const std::string& subject, int startOffset);
    int MatchGlobal(const std::string& subject, int startOffset);
    bool HasSpan(int n) const;
    void KeepSubject(const std::string& subject, int firstPair, int pairs, int keptFrom);

    pcre* matchPattern = nullptr;
    const char* matchCompileError = nullptr;
    int matchErrorOffset = 0;
    int matchSpans[kSpanInts] = {};
    int matchCount = 0;
    // The subject from the search's start offset up to the furthest span
    // end (see KeepSubject); matchSubjectBase is the offset of its first byte.
    std::string matchSubject;
    int matchSubjectBase = 0;

public:
    // Message of the last failure; a later success leaves it in place.
    std::string lastError;
};
