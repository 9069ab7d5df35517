#include "regex/RegExp.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace {

constexpr const char* kExecError = "Error matching expression";

struct Modifiers {
    int options = 0;
    bool global = false;
};

// Perl-style letters; any letter we do not know drops the options read so far
// (but not global mode), so "i?" matches case-sensitively.
Modifiers ReadModifiers(const std::string& letters) {
    Modifiers result;
    for (unsigned char c : letters) {
        switch (std::tolower(c)) {
        case 'g': result.global = true; break;
        case 'i': result.options |= PCRE_CASELESS; break;
        case 'm': result.options |= PCRE_MULTILINE; break;
        case 's': result.options |= PCRE_DOTALL; break;
        case 'x': result.options |= PCRE_EXTENDED; break;
        default: result.options = 0; break;
        }
    }
    return result;
}

}  // namespace

CRegExp::~CRegExp() {
    Reset();
}

void CRegExp::Reset() {
    if (matchPattern != nullptr) {
        pcre_free(matchPattern);
        matchPattern = nullptr;
    }
    // Cleared even without a pattern, so no span of an older call can leak
    // through a count left behind.
    matchCount = 0;
    matchSubject.clear();
    matchSubjectBase = 0;
}

int CRegExp::Match(const std::string& subject, const std::string& pattern,
                   const std::string& modifiers) {
    return MatchFrom(subject, 0, pattern, modifiers);
}

int CRegExp::MatchFrom(const std::string& subject, std::size_t startOffset, const std::string& pattern,
                       const std::string& modifiers) {
    Reset();
    if (startOffset >= subject.size()) {
        return 0;
    }
    // PCRE takes int lengths and offsets.
    if (subject.size() > static_cast<size_t>(INT_MAX)) {
        lastError = kExecError;
        return 0;
    }
    const Modifiers mods = ReadModifiers(modifiers);

    matchPattern = pcre_compile(pattern.c_str(), mods.options, &matchCompileError,
                                &matchErrorOffset, nullptr);
    if (matchPattern == nullptr) {
        lastError = matchCompileError != nullptr ? matchCompileError : "";
        return 0;
    }
    const int start = static_cast<int>(startOffset);
    return mods.global ? MatchGlobal(subject, start) : MatchSingle(subject, start);
}

int CRegExp::MatchSingle(const std::string& subject, int startOffset) {
    matchCount = pcre_exec(matchPattern, nullptr, subject.data(), static_cast<int>(subject.size()),
                           startOffset, 0, matchSpans, kSpanInts);
    if (matchCount <= 0 && matchCount != PCRE_ERROR_NOMATCH) {
        lastError = kExecError;
    }
    // A result of 0 means the vector was too small and PCRE filled two thirds
    // of it; a negative one leaves no span worth keeping.
    const int reported = matchCount > 0 ? matchCount : (matchCount == 0 ? kSpanInts / 3 : 0);
    KeepSubject(subject, 0, reported, startOffset);
    // Span 0 is the whole match; the count names the highest group reported.
    if (matchCount > 0) {
        --matchCount;
    }
    return matchCount;
}

int CRegExp::MatchGlobal(const std::string& subject, int startOffset) {
    const int length = static_cast<int>(subject.size());
    int start = startOffset;
    int found = 0;
    while (found < kMaxGlobalMatches) {
        int pass[kSpanInts];
        const int rc = pcre_exec(matchPattern, nullptr, subject.data(), length, start, 0, pass,
                                 kSpanInts);
        if (rc == PCRE_ERROR_NOMATCH) {
            break;
        }
        if (rc <= 0) {
            lastError = kExecError;
            matchCount = 0;
            return 0;
        }
        ++found;
        // PCRE fills pairs only up to the pattern's own highest group, so a
        // pattern without group 1 leaves pass[2..3] untouched: treat as unset.
        matchSpans[2 * found] = rc >= 2 ? pass[2] : -1;
        matchSpans[2 * found + 1] = rc >= 2 ? pass[3] : -1;
        // The next pass starts where this whole match ended; an empty match
        // therefore repeats until the limit of 50 stops it.
        start = pass[1];
    }
    matchCount = found;
    KeepSubject(subject, 1, found, startOffset);
    return matchCount;
}

// Keeps the subject for GetMatch, but only from the search's start (or an
// earlier span start, which a lookbehind group can have) up to the furthest
// span end: no other byte can ever be fetched, and the update check hands us
// whole web pages that it reads one entry at a time.
void CRegExp::KeepSubject(const std::string& subject, int firstPair, int pairs, int keptFrom) {
    int furthest = 0;
    for (int pair = firstPair; pair < firstPair + pairs && 2 * pair + 1 < kSpanInts; ++pair) {
        const int begin = matchSpans[2 * pair];
        const int end = matchSpans[2 * pair + 1];
        if (begin >= 0 && end >= begin) {
            furthest = std::max(furthest, end);
            keptFrom = std::min(keptFrom, begin);
        }
    }
    furthest = std::min(furthest, static_cast<int>(subject.size()));
    matchSubjectBase = keptFrom;
    if (furthest > keptFrom) {
        matchSubject.assign(subject, static_cast<size_t>(keptFrom), static_cast<size_t>(furthest - keptFrom));
    }
}

bool CRegExp::HasSpan(int n) const {
    return matchCount != 0 && n >= 1 && n <= matchCount &&
           2 * n + 1 < kSpanInts;
}

std::string CRegExp::GetMatch(int n) const {
    if (!HasSpan(n)) {
        return std::string();
    }
    const int begin = matchSpans[2 * n];
    const int end = matchSpans[2 * n + 1];
    // Unset groups come back as (-1, -1); never read outside the kept text.
    if (begin < matchSubjectBase || end < begin ||
        end - matchSubjectBase > static_cast<int>(matchSubject.size())) {
        return std::string();
    }
    return matchSubject.substr(static_cast<size_t>(begin - matchSubjectBase), static_cast<size_t>(end - begin));
}

int CRegExp::GetMatchEnd(int n) const {
    if (matchCount == 0) {
        return -1;
    }
    if (n < 1 || n > matchCount || 2 * n + 1 >= kSpanInts) {
        return -2;
    }
    return matchSpans[2 * n + 1];
}
