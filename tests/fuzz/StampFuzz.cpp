// Notice stamps read back from the registry, where anything may stand.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/core/Stamps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string stamp(reinterpret_cast<const char*>(data), size);
    const std::int64_t seconds = tarnelix::ReadStamp(stamp);
    if (seconds < -1) {
        std::abort();
    }
    // What was read formats again and reads back to the same time, as long
    // as the year keeps its four digits (normalising "9999-99-99" goes past
    // the year 10000, whose text the fixed character positions cannot hold).
    const std::string text = tarnelix::FormatStamp(seconds);
    if (text.size() == 19 && seconds >= 0 && tarnelix::ReadStamp(text) != seconds) {
        std::abort();
    }
    return 0;
}
