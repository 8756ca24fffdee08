// Thin Win32 helpers for the setup libraries (the stand-in and the test double): each call does what the
// named API does and nothing more. Paths are the system's ANSI text; relative ones are taken from the
// calling process's current directory.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup::win32 {

// Full path of the DLL (or program) this code is linked into; "" on failure.
std::string ThisModulePath();

// The process's current directory; "" on failure.
std::string CurrentDirectory();

// The whole file; nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Creates or truncates the file and writes the bytes; false on failure.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// Appends the bytes to the file (created if missing) and flushes it to disk; false on failure.
bool AppendToFile(const std::string& path, std::string_view bytes);

bool FileExists(const std::string& path);

// Creates the folder unless it exists; false when it does not exist afterwards.
bool EnsureFolder(const std::string& path);

// The names (value data) under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, in the order the registry lists them;
// empty when the key is missing.
std::vector<std::string> SerialDeviceMapNames();

}  // namespace setup::win32
