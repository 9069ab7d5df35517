// A broken property of a fuzz target: abort, so that libFuzzer keeps the
// input that broke it.
#pragma once

#include <cstdlib>

inline void Require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}
