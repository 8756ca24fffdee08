// Check of SETUP.dll, the stand-in setup library, through its import library: run it in a
// throw-away Wine prefix (check/run-under-wine.sh), never on a real Windows machine, since it adds
// names to the serial device map for the time it runs.
//
// It binds MainA at load time as the program does, works from a folder of its own so that every capture
// file path is relative to that folder, and checks busynames, list, change, list again.
#include "setupdll/SetupCore.h"
#include "setupdll/SetupEntry.h"
#include "setupdll/Win32Io.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int g_passed = 0;
int g_failed = 0;

void Check(bool ok, const std::string& what, const std::string& detail = {}) {
    ++(ok ? g_passed : g_failed);
    std::printf("%s - %s\n", ok ? "ok" : "FAILED", what.c_str());
    if (!ok && !detail.empty()) std::printf("    got: [%s]\n", detail.c_str());
}

bool HasLine(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\r\n") != std::string::npos;
}

std::string DllPath() {
    const HMODULE dll = GetModuleHandleA("SETUP.dll");
    char path[MAX_PATH + 1] = {};
    if (!dll || GetModuleFileNameA(dll, path, MAX_PATH) == 0) return {};
    return path;
}

const char* const kSerialComm = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
const char* const kAddedValues[][2] = {
    {"\\Device\\RavelixCheck0", "COM3"},
    {"\\Device\\RavelixCheck1", "COM4"},
    {"\\Device\\RavelixCheck2", "COM200"},
};

bool AddDeviceMapNames() {
    HKEY key = nullptr;
    // HARDWARE is volatile, so its subkeys must be too.
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSerialComm, 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    bool ok = true;
    for (const auto& value : kAddedValues) {
        ok = ok && RegSetValueExA(key, value[0], 0, REG_SZ, reinterpret_cast<const BYTE*>(value[1]),
                                  static_cast<DWORD>(std::string(value[1]).size() + 1)) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return ok;
}

void RemoveDeviceMapNames() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSerialComm, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    for (const auto& value : kAddedValues) RegDeleteValueA(key, value[0]);
    RegCloseKey(key);
}

}  // namespace

int main() {
    const std::string dll = DllPath();
    Check(!dll.empty(), "SETUP.dll is loaded");
    const std::string statePath = setup::SiblingPath(dll, setup::kStateFileName);
    DeleteFileA(statePath.c_str());

    Check(AddDeviceMapNames(), "names added to the serial device map");
    const std::vector<std::string> deviceMap = setup::win32::SerialDeviceMapNames();
    std::string mapText;
    for (const std::string& name : deviceMap) mapText += name + " ";
    std::printf("serial device map: %s\n", mapText.c_str());
    const std::string expectedDefault = setup::DefaultPortName(deviceMap);

    // A working folder of our own; every capture file path below is relative to it.
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string work = std::string(temp) + "ravelix-setup-check\\";
    CreateDirectoryA(work.c_str(), nullptr);
    CreateDirectoryA((work + "out").c_str(), nullptr);
    Check(SetCurrentDirectoryA(work.c_str()) != 0, "into the working folder " + work);
    auto captured = [&](const char* name) {
        return setup::win32::ReadWholeFile(work + "out\\" + name).value_or("<no file>");
    };

    Check(MainA("setupc.exe", "--output out\\busy1.txt busynames COM*") == 0, "busynames returns 0");
    const std::string busy1 = captured("busy1.txt");
    Check(HasLine(busy1, "COM3") && HasLine(busy1, "COM4") && HasLine(busy1, "COM200"),
          "busynames lists the device map's names", busy1);
    Check(HasLine(busy1, expectedDefault), "busynames lists the virtual port " + expectedDefault, busy1);
    Check(busy1 == setup::BusyNamesText("COM*", deviceMap, expectedDefault), "busynames has nothing else", busy1);

    Check(MainA("setupc.exe", "--output out\\list1.txt list") == 0, "list returns 0");
    const std::string list1 = captured("list1.txt");
    Check(list1.find("CNCA0 PortName=" + expectedDefault + "\r\n") != std::string::npos,
          "list names the port " + expectedDefault, list1);
    Check(setup::win32::FileExists(statePath), "the default name is recorded in " + statePath);

    Check(MainA("setupc.exe", "--output out\\change.txt change CNCA0 PortName=COM42") == 0, "change returns 0");
    Check(captured("change.txt").empty(), "change writes an empty capture file", captured("change.txt"));

    Check(MainA("setupc.exe", "--output out\\list2.txt list") == 0, "list again returns 0");
    const std::string list2 = captured("list2.txt");
    Check(list2.find("CNCA0 PortName=COM42\r\n") != std::string::npos, "list then names COM42", list2);
    Check(MainA("setupc.exe", "--output out\\busy2.txt busynames COM*") == 0, "busynames again returns 0");
    const std::string busy2 = captured("busy2.txt");
    Check(HasLine(busy2, "COM42") && !HasLine(busy2, expectedDefault), "busynames then has COM42 instead", busy2);

    Check(MainA("setupc.exe", "list") != 0, "a call without --output is refused");
    Check(MainA("setupc.exe", "--output out\\bad.txt change CNCA0 PortName=COM256") != 0, "COM256 is refused");
    Check(captured("list2.txt") == list2 && captured("bad.txt").rfind("error: ", 0) == 0,
          "the refusal is in its capture file", captured("bad.txt"));

    RemoveDeviceMapNames();
    DeleteFileA(statePath.c_str());
    for (const char* name : {"busy1.txt", "busy2.txt", "list1.txt", "list2.txt", "change.txt", "bad.txt"}) {
        DeleteFileA((work + "out\\" + name).c_str());
    }
    SetCurrentDirectoryA(temp);
    RemoveDirectoryA((work + "out").c_str());
    RemoveDirectoryA(work.c_str());

    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
