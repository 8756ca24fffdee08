#include "portsetup/CaptureFile.h"

#include <cstring>

#include "portsetup/ParseDecimal.h"

int LineReader::NextByte() {
    if (m_pos == m_end) {
        m_pos = 0;
        m_end = m_file ? m_file->Read(m_buffer, sizeof m_buffer) : 0;
        if (m_end == 0) return -1;
    }
    return static_cast<unsigned char>(m_buffer[m_pos++]);
}

bool LineReader::ReadLine(char* line, int size) {
    if (size <= 0) return false;
    int n = 0;
    while (n < size - 1) {
        const int c = NextByte();
        if (c < 0) break;
        line[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    line[n] = '\0';
    return n > 0;
}

void CleanLine(char* line) {
    const std::size_t length = std::strlen(line);
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte < 0x20 || byte >= 0x80) line[i] = '\0';
    }
}

bool ParseCurrentPortLine(const char* line, int* number) {
    const char* p = std::strstr(line, "CNCA0");
    if (!p) return false;
    p = std::strchr(p, '=');
    if (!p) return false;
    p = std::strstr(p + 1, "COM");
    if (!p) return false;
    return ParseDecimal(p + 3, number) == 1;
}

bool ParseUsedPortLine(const char* line, int* number) {
    const char* p = std::strstr(line, "COM");
    if (!p) return false;
    return ParseDecimal(p + 3, number) == 1;
}
