// A fuzz target states what must hold after every input; a broken promise aborts, so that libFuzzer
// keeps the input as a crash just as it does for a sanitizer's finding.
#pragma once

#include <cstdlib>

inline void require(bool condition)
{
    if (!condition)
        std::abort();
}
