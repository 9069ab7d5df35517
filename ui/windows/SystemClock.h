// The system's clock in seconds since 1970.
#pragma once

#include <ctime>

#include "ui/core/Clock.h"

namespace tarnelix {

class SystemClock final : public IClock {
public:
    std::int64_t Now() const override { return static_cast<std::int64_t>(std::time(nullptr)); }
};

}  // namespace tarnelix
