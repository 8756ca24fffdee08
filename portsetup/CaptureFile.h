// Reading the capture file the setup library writes: line reads of bounded length, line cleaning, and the
// searches that find a COM number in a line.
#pragma once

#include <cstddef>
#include <memory>

#include "seam/Platform.h"

// The longest part of a line one read takes, and the buffer it needs with its terminating NUL.
constexpr int kCaptureLineBuffer = 256;

// Reads a file in lines as the C library's line read does: at most size - 1 bytes per read, stopping after a
// line feed, so a longer line arrives in several parts.
class LineReader {
public:
    explicit LineReader(std::unique_ptr<seam::InputFile> file) : m_file(std::move(file)) {}
    // Fills line (NUL-terminated) and returns true; false at the end of the file with nothing read.
    bool ReadLine(char* line, int size);

private:
    int NextByte();

    std::unique_ptr<seam::InputFile> m_file;
    char m_buffer[4096];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
};

// Ends the line's text at its first control character or byte from 0x80 up.
void CleanLine(char* line);

// In a cleaned line of the "list" output: the number after the first "COM" that follows the first "=" after
// the first "CNCA0". Returns false when the line has no such text or the number does not parse.
bool ParseCurrentPortLine(const char* line, int* number);

// In a cleaned line of the "busynames" output: the number directly after the line's first "COM".
bool ParseUsedPortLine(const char* line, int* number);

// A COM number that names a real port.
constexpr bool IsValidComNumber(int n) { return n >= 1 && n <= 255; }
