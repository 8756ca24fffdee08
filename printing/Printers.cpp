#include "printing/Printers.h"

#include <cstring>
#include <memory>
#include <new>

#include "framework/Trace.h"
#include "seam/Platform.h"

using seam::Sys;

namespace {

// Local printers and printer connections.
constexpr unsigned kEnumLocalAndConnections = 0x2 | 0x4;

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (FoldAscii(*a) != FoldAscii(*b)) return false;
    }
    return *a == *b;
}

int RunHidden(const char* commandLine) {
    TraceOut("DOS_Command=%s\n", commandLine);
    // Run by full path: this program runs elevated, and a rundll32 found through the search path (the
    // program's folder or the current folder first) could be anybody's.
    const std::string systemFolder = Sys().SystemFolder();
    if (systemFolder.empty() || !Sys().RunHiddenProcess(systemFolder + "\\rundll32.exe", commandLine)) {
        TraceOut("ERROR: Cannot launch child process\n");
        return 0;
    }
    return 1;
}

bool UsableInCommand(const char* name) { return std::strchr(name, '"') == nullptr; }

std::string PrinterPortCommand(const char* printerName, const char* portName) {
    if (!UsableInCommand(printerName) || !UsableInCommand(portName)) return {};
    return std::string("rundll32 printui.dll,PrintUIEntry /Xs /n \"") + printerName + "\" PortName \"" + portName +
           "\"";
}

int SetPrinterPort(const char* printerName, const char* portName) {
    const std::string command = PrinterPortCommand(printerName, portName);
    if (command.empty()) {
        TraceOut("Printer name not usable in a command, left on its port: %s", printerName);
        return 0;
    }
    return RunHidden(command.c_str());
}

int MovePrintersOnPort(const char* portName, const char* targetPort) {
    unsigned needed = 0;
    unsigned returned = 0;
    Sys().EnumPrinters(kEnumLocalAndConnections, nullptr, 0, &needed, &returned);

    // A failed enumeration or allocation counts as no printers.
    std::unique_ptr<unsigned char[]> buffer;
    unsigned count = 0;
    if (needed > 0) buffer.reset(new (std::nothrow) unsigned char[needed]);
    if (buffer && Sys().EnumPrinters(kEnumLocalAndConnections, buffer.get(), needed, &needed, &returned)) {
        // Never read a record beyond the buffer, whatever count the system reports.
        const unsigned fits = needed / static_cast<unsigned>(sizeof(seam::PrinterInfo2));
        count = returned < fits ? returned : fits;
    }

    int matches = 0;
    const auto* records = reinterpret_cast<const seam::PrinterInfo2*>(buffer.get());
    for (unsigned i = 0; i < count; ++i) {
        const seam::PrinterInfo2& printer = records[i];
        if (!printer.pPortName || !printer.pPrinterName) continue;
        if (!EqualsIgnoringAsciiCase(printer.pPortName, portName)) continue;
        if (!UsableInCommand(printer.pPrinterName)) {
            TraceOut("Printer name not usable in a command, left on its port: %s", printer.pPrinterName);
            continue;
        }
        TraceOut("%s on %s", printer.pPrinterName, printer.pPortName);
        SetPrinterPort(printer.pPrinterName, targetPort);
        TraceOut("--> %s on %s", printer.pPrinterName, targetPort);
        ++matches;
    }
    TraceOut("NumPrinters = %d,count=%d", static_cast<int>(count), matches);
    return matches;
}

int MovePrintersToCOM1(const char* portName) {
    MovePrintersOnPort(portName, "COM1:");
    return 1;
}
