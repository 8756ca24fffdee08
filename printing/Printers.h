// Re-pointing printers: every printer bound to a port is moved to another one by running the system's
// printer-settings command, hidden, one printer after the other.
#pragma once

#include <string>

// Starts a command line hidden and waits for it to end. 1 when it was started and has ended, 0 when it
// could not be started. The program run is always the system's own rundll32.
int RunHidden(const char* commandLine);

// Whether a name can be put between the command's double quotes: one with a double quote of its own would
// end the quoted text and could add arguments to a command that runs with administrator rights.
bool UsableInCommand(const char* name);

// The printer-settings command that binds printerName to portName. Empty when the printer name cannot be
// put into a command line safely (a double quote in it would end the quoted name and add arguments).
std::string PrinterPortCommand(const char* printerName, const char* portName);

// Runs the printer-settings command for one printer; the result of RunHidden, 0 when nothing was run.
int SetPrinterPort(const char* printerName, const char* portName);

// Moves every printer whose port is portName (whole text, case of A to Z ignored) to targetPort.
// Returns the number of printers whose command was attempted.
int MovePrintersOnPort(const char* portName, const char* targetPort);

// Moves the printers of portName to "COM1:". Returns 1.
int MovePrintersToCOM1(const char* portName);

// Whole-string comparison that folds only the letters A to Z.
bool EqualsIgnoringAsciiCase(const char* a, const char* b);
