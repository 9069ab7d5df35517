#pragma once

#include <cstdint>

#include "ui/core/Clock.h"

// A clock that stands still until the test moves it.
class FakeClock final : public tarnelix::IClock {
public:
    explicit FakeClock(std::int64_t now = 0) : now(now) {}
    std::int64_t Now() const override { return now; }
    void Advance(std::int64_t seconds) { now += seconds; }

private:
    std::int64_t now;
};
