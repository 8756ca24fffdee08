// The diagnostic trace: printf-style lines handed to the platform, which discards them on Windows and
// records them in tests.
#pragma once

#if defined(__GNUC__)
#define RAVELIX_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define RAVELIX_PRINTF(f, a)
#endif

void TraceOut(const char* format, ...) RAVELIX_PRINTF(1, 2);
