// ParseDecimal against a reference computed in 64 bits.
#include <cstdio>
#include <cstdlib>

#include "portsetup/ParseDecimal.h"
#include "tests/fuzz/FuzzMachine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = AsText(data, size).c_str();  // up to the first NUL, as the program sees it
    int value = 0;
    const int ok = ParseDecimal(text.c_str(), &value);

    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) i = 1;
    long long reference = 0;
    bool fits = true;
    const std::size_t digitsStart = i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (reference <= 10000000000LL) reference = reference * 10 + (text[i] - '0');
        if (reference > 2147483648LL) fits = false;
    }
    const bool allDigits = i == text.size() && i > digitsStart;
    if (!negative && reference > 2147483647LL) fits = false;
    FUZZ_CHECK(ok == (allDigits && fits ? 1 : 0));
    if (ok) FUZZ_CHECK(value == (negative ? -reference : reference));
    return 0;
}
