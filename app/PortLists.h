// The contents of the two lists.
#pragma once

#include <string>

// The printer families, in list order: the position is what the settings file stores.
constexpr const char* kPrinterTypes[] = {
    "USB / POS Printer [QD-Rxx]",
    "USB / Label Printer [QD-M1x]",
    "USB / Label Printer [QD-M2x]",
    "USB / Label Printer [QD-M3x]",
    "USB / Portable Printer [QD-Wxx]",
};

// The text of the port list's entry for COM<n>: marked when in use, unless it is the current port.
std::string PortEntryText(int n, int nowCom, const int (&used)[256]);
