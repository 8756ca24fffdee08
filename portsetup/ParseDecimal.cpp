#include "portsetup/ParseDecimal.h"

#include <cstdint>

int ParseDecimal(const char* text, int* out) {
    bool negative = false;
    if (*text == '+') {
        ++text;
    } else if (*text == '-') {
        negative = true;
        ++text;
    }
    // The magnitude a 32-bit signed value can hold: one more on the negative side.
    const std::uint32_t limit = negative ? 2147483648u : 2147483647u;
    std::uint32_t value = 0;
    int digits = 0;
    bool ok = true;
    for (; *text; ++text) {
        const char c = *text;
        if (c < '0' || c > '9') {
            ok = false;
            break;
        }
        const auto digit = static_cast<std::uint32_t>(c - '0');
        if (value > (limit - digit) / 10) {
            ok = false;  // the value would not fit: not a number the program can use
            break;
        }
        value = value * 10 + digit;
        ++digits;
    }
    if (digits == 0) ok = false;
    if (out) {
        const std::int64_t signedValue = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
        *out = static_cast<int>(signedValue);
    }
    return ok ? 1 : 0;
}
