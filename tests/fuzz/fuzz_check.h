// The one way a fuzz target reports a broken promise: a message on descriptor 2 (the C stream
// may be silenced by the target) and abort(), which libFuzzer records as a crash with its input
// and the replay driver turns into a failed test.
#pragma once

#include <stdio.h>

#include <cstdlib>

#define FUZZ_CHECK(condition)                                                  \
    do {                                                                       \
        if (!(condition)) {                                                    \
            dprintf(2, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                      \
        }                                                                      \
    } while (0)
