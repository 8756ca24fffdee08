// The setup library's one entry point, as the program imports it from SETUP.dll (bound at load time
// through the import library target setup_import). __stdcall on 32-bit x86; exported and imported
// undecorated as "MainA".
#pragma once

#if defined(_WIN32) && !defined(_WIN64)
#define SETUP_ENTRY_CALL __stdcall
#else
#define SETUP_ENTRY_CALL
#endif

// programName: "setupc.exe"; commandLine: "--output <path> <command...>". Returns 0 when done.
extern "C" int SETUP_ENTRY_CALL MainA(const char* programName, const char* commandLine);
