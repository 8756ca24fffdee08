// What the program says to the setup library: command lines, formatted into one buffer and handed to the
// library's entry point, which answers through the capture file.
#pragma once

#include "framework/Trace.h"

// The command line last handed to the setup library.
constexpr int kCommandBuffer = 256;
extern char g_szCommand[kCommandBuffer];

// The capture file's path, relative to the program's folder (the current directory).
constexpr int kOutputFileBuffer = 260;
constexpr const char* kCaptureFilePath = ".\\__zur2ure__.txt";
extern char g_szOutputFile[kOutputFileBuffer];
void ResetOutputFile();

// The program name the setup library is given, as a command-line program's first word.
constexpr const char* kSetupProgramName = "setupc.exe";

// Deletes the capture file, formats the command line and calls the library; returns when it has finished.
void RunSetupCommand(const char* format, ...) RAVELIX_PRINTF(1, 2);

// Gives the virtual port the name COM<n>. Its success is not examined.
void RenameVirtualPort(int n);
