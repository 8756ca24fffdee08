// The settings file, ".\VConfig.ini" in the program's folder: the virtual port's COM number and the
// printer type, in section "Zur2Ure".
#pragma once

// The printer type as last read from or written to the settings file.
extern int g_nPrinterType;

// Reads "PrinterType" (0 when the file, section or key is missing) and stores it in g_nPrinterType.
int LoadPrinterType();
// Writes "PrinterType" and stores it in g_nPrinterType.
void SavePrinterType(int type);
// Writes "ComPortNum".
void SaveComPortNum(int n);

// The usual lenient decimal conversion: leading white space, an optional sign, the digits up to the first
// other character; 0 without digits. Saturates instead of overflowing.
int LenientDecimal(const char* text);
