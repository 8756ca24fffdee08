// The fake platform as fuzz targets use it: quiet, and set up fresh for every input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "portsetup/SetupCommands.h"
#include "tests/fakes/FakePlatform.h"

inline std::string AsText(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// Aborts the fuzz run (and fails the replay) when an invariant of the program does not hold.
#define FUZZ_CHECK(condition)                                                         \
    do {                                                                              \
        if (!(condition)) {                                                           \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)
