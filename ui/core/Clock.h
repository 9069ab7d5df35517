#pragma once

#include <cstdint>

namespace tarnelix {

// The wall clock, in seconds since 1970. Decisions that space notices by
// minutes and days take it as a parameter, so tests can move time at will.
class IClock {
public:
    virtual ~IClock() = default;
    virtual std::int64_t Now() const = 0;
};

}  // namespace tarnelix
