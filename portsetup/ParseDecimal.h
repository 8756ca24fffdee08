#pragma once

// Parses an optional sign followed by decimal digits up to the terminating NUL. Returns 1 on success: at
// least one digit, nothing else, and a value that fits a 32-bit signed integer. Otherwise returns 0. When
// out is given it receives the signed value of the digits accepted before the first offending character
// (a digit that would overflow counts as offending), whether or not the parse succeeded.
int ParseDecimal(const char* text, int* out);
