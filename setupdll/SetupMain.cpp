// SETUP.dll, the stand-in setup library: MainA gathers what the system knows, lets Run() decide, and
// writes back what it decided. The virtual port's name lives in SETUP.port beside the DLL.
#include "setupdll/SetupCore.h"
#include "setupdll/SetupEntry.h"
#include "setupdll/Win32Io.h"

#include <string>
#include <vector>

extern "C" int SETUP_ENTRY_CALL MainA(const char* programName, const char* commandLine) {
    (void)programName;  // always "setupc.exe"; nothing depends on it
    try {
        const std::string statePath = setup::SiblingPath(setup::win32::ThisModulePath(), setup::kStateFileName);
        const std::vector<std::string> deviceMap = setup::win32::SerialDeviceMapNames();
        const std::string state = setup::win32::ReadWholeFile(statePath).value_or(std::string());

        const setup::Outcome outcome = setup::Run(commandLine ? commandLine : "", deviceMap, state);

        // Each write is tried even when the other fails (a read-only program folder keeps the state file
        // from being written, yet the caller still gets its capture file).
        const bool stateWritten =
            !outcome.newState || setup::win32::WriteWholeFile(statePath, *outcome.newState + "\r\n");
        const bool captureWritten = !outcome.output || setup::win32::WriteWholeFile(*outcome.output, outcome.capture);
        return stateWritten && captureWritten ? outcome.status : 2;
    } catch (...) {
        return 3;  // nothing may leave a DLL entry point as an exception
    }
}
