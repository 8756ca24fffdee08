#include "setupdll/Win32Io.h"

#include <windows.h>

#include <cstddef>

namespace setup::win32 {

namespace {

// An object inside whichever module links this code: its address names the module.
const char g_moduleAnchor = 0;

constexpr DWORD kLongestPath = 32768;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (Valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::string ThisModulePath() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            &g_moduleAnchor, &module)) {
        return {};
    }
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(module, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= kLongestPath) return {};
        path.resize(path.size() * 2);  // truncated: try again with more room
    }
}

std::string CurrentDirectory() {
    std::string path;
    DWORD needed = GetCurrentDirectoryA(0, nullptr);  // counts the terminating NUL
    while (needed != 0) {
        path.assign(needed, '\0');
        const DWORD length = GetCurrentDirectoryA(needed, &path[0]);
        if (length == 0) break;
        if (length < needed) {
            path.resize(length);
            return path;
        }
        needed = length;  // the folder changed meanwhile and grew
    }
    return {};
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return std::nullopt;
        if (read == 0) return bytes;
        bytes.append(buffer, read);
    }
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.Get(), bytes);
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
    FileHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EnsureFolder(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> SerialDeviceMapNames() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return names;
    }
    DWORD longestName = 0, longestData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                         &longestData, nullptr, nullptr) == ERROR_SUCCESS) {
        std::string valueName(longestName + 1, '\0');
        std::string data(longestData + 1, '\0');
        for (DWORD index = 0;; ++index) {
            DWORD nameLength = static_cast<DWORD>(valueName.size());
            DWORD dataLength = static_cast<DWORD>(data.size() - 1);  // room left for a NUL of our own
            DWORD type = 0;
            const LONG result = RegEnumValueA(key, index, &valueName[0], &nameLength, nullptr, &type,
                                              reinterpret_cast<BYTE*>(&data[0]), &dataLength);
            if (result == ERROR_MORE_DATA) {
                // A value grew since the key was measured: make room and read the same index again.
                if (valueName.size() >= kLongestPath || data.size() >= kLongestPath) break;
                valueName.resize(valueName.size() * 2);
                data.resize(data.size() * 2);
                --index;
                continue;
            }
            if (result != ERROR_SUCCESS) break;  // ERROR_NO_MORE_ITEMS, or the key went away
            if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
            const std::size_t length = data.find('\0');  // the data's own NUL, else ours
            names.emplace_back(data.data(), length < dataLength ? length : dataLength);
        }
    }
    RegCloseKey(key);
    return names;
}

}  // namespace setup::win32
