#pragma once

#include <cstdio>
#include <cstdlib>

// A property a fuzzer checks on every input. A broken one aborts, which
// libFuzzer reports as a finding and keeps the input as its artifact.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);             \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
