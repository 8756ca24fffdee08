#include "portsetup/SetupCommands.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "seam/Platform.h"

char g_szCommand[kCommandBuffer];
char g_szOutputFile[kOutputFileBuffer];

void ResetOutputFile() { std::snprintf(g_szOutputFile, sizeof g_szOutputFile, "%s", kCaptureFilePath); }

void RunSetupCommand(const char* format, ...) {
    seam::Sys().RemoveFile(g_szOutputFile);  // a stale capture file must never be read as this command's answer
    va_list args;
    va_start(args, format);
    std::vsnprintf(g_szCommand, sizeof g_szCommand, format, args);
    va_end(args);
    TraceOut("Enter MainA");
    seam::Sys().SetupMain(kSetupProgramName, g_szCommand);
    TraceOut("Leave MainA");
}

void RenameVirtualPort(int n) { RunSetupCommand("--output %s change CNCA0 PortName=COM%d", g_szOutputFile, n); }
