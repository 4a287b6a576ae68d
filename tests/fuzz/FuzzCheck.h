#pragma once

#include <cstdio>
#include <cstdlib>

namespace nimbrel::fuzz {

// A broken promise of a decoder ends the run, so that libFuzzer keeps the input that broke it.
inline void require(bool holds, const char* promise) {
    if (!holds) {
        std::fprintf(stderr, "decoder promise broken: %s\n", promise);
        std::abort();
    }
}

}  // namespace nimbrel::fuzz
