// Stands in for the system's rundll32.exe in the end-to-end tests' Wine prefix (Wine's printer-settings
// command does nothing): appends "<its own path>|<its command line>" to C:\rundll32-calls.log and ends.
// Copied elsewhere (into the program's folder, say), its line shows which copy was run.
#include <windows.h>

#include <cstdio>

int main() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    FILE* log = std::fopen("C:\\rundll32-calls.log", "ab");
    if (!log) return 1;
    std::fprintf(log, "%s|%s\r\n", self, GetCommandLineA());
    std::fclose(log);
    return 0;
}
