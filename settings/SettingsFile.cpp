#include "settings/SettingsFile.h"

#include <climits>
#include <cstdio>

#include "framework/Trace.h"
#include "seam/Platform.h"

int g_nPrinterType = 0;

namespace {

constexpr const char* kSettingsFile = ".\\VConfig.ini";
constexpr const char* kSection = "Zur2Ure";
// Values are read and written through a 4-byte buffer: at most three characters of a value are seen.
constexpr unsigned kValueBuffer = 4;

void WriteNumber(const char* key, int value) {
    char text[kValueBuffer];
    std::snprintf(text, sizeof text, "%d", value);
    seam::Sys().WritePrivateProfile(kSection, key, text, kSettingsFile);
}

}  // namespace

int LenientDecimal(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

int LoadPrinterType() {
    char szTemp[kValueBuffer] = {};
    seam::Sys().ReadPrivateProfile(kSection, "PrinterType", "0", szTemp, sizeof szTemp, kSettingsFile);
    szTemp[sizeof szTemp - 1] = '\0';
    const int nType = LenientDecimal(szTemp);
    g_nPrinterType = nType;
    TraceOut("szTemp=%s,nType=%d", szTemp, nType);
    return nType;
}

void SavePrinterType(int type) {
    WriteNumber("PrinterType", type);
    g_nPrinterType = type;
}

void SaveComPortNum(int n) { WriteNumber("ComPortNum", n); }
