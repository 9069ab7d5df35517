// CRegExp::Match with any pattern, modifiers and subject, and every span
// fetched afterwards. Input: pattern NUL modifiers NUL subject; a start
// offset comes from the first byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "regex/RegExp.h"

namespace {

std::string NextField(std::string& rest)
{
    const std::size_t end = rest.find('\0');
    std::string field = rest.substr(0, end);
    rest.erase(0, end == std::string::npos ? rest.size() : end + 1);
    return field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string pattern = NextField(rest);
    const std::string modifiers = NextField(rest);
    const std::string& subject = rest;
    CRegExp re;
    for (const std::size_t offset : {std::size_t{0}, std::size_t{data[0]}}) {
        const int count = re.MatchFrom(subject, offset, pattern, modifiers);
        for (int n = -1; n <= count + 1 && n <= CRegExp::kSpanInts; ++n) {
            const std::string text = re.GetMatch(n);
            const int end = re.GetMatchEnd(n);
            if (text.size() > subject.size() || end > static_cast<int>(subject.size())) {
                std::abort();
            }
        }
    }
    return 0;
}
