// The spooler's list of serial ports: the "ports" section of the system profile.
#pragma once

// Line settings of every port entry the program adds.
constexpr const char* kPortSettings = "9600,n,8,1";

// Deletes the key name (such as "COM5:") from the "ports" section; on success tells every top-level window
// the section changed. Returns 1 on success, 0 on failure.
int RemoveSpoolerPort(const char* name);
// Writes the key name with the line settings, then tells every top-level window. Same results.
int AddSpoolerPort(const char* name);
