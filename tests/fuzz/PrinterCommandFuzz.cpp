// Printer re-pointing over arbitrary printer names and ports.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "printing/Printers.h"
#include "tests/fuzz/FuzzMachine.h"

namespace {

std::size_t Count(const std::string& s, char c) {
    std::size_t n = 0;
    for (char x : s) n += x == c;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input is a list of printers: name NUL port NUL, ...
    FakePlatform machine;
    const std::string input = AsText(data, size);
    std::size_t at = 0;
    while (at < input.size()) {
        const std::size_t nameEnd = input.find('\0', at);
        const std::string name = input.substr(at, nameEnd == std::string::npos ? std::string::npos : nameEnd - at);
        if (nameEnd == std::string::npos) {
            machine.printers.push_back({name, std::nullopt});
            break;
        }
        const std::size_t portEnd = input.find('\0', nameEnd + 1);
        const std::string port =
            input.substr(nameEnd + 1, portEnd == std::string::npos ? std::string::npos : portEnd - nameEnd - 1);
        machine.printers.push_back({name, port});
        if (portEnd == std::string::npos) break;
        at = portEnd + 1;
    }

    const int moved = MovePrintersOnPort("COM5:", "COM1:");
    FUZZ_CHECK(moved >= 0 && static_cast<std::size_t>(moved) == machine.processes.size());
    for (const std::string& process : machine.processes) {
        const std::string command = process.substr(process.find('|') + 1);
        // Exactly the two pairs of quotes of the command's own: no name can add arguments.
        FUZZ_CHECK(Count(command, '"') == 4);
        FUZZ_CHECK(command.rfind("rundll32 printui.dll,PrintUIEntry /Xs /n \"", 0) == 0);
        const std::string tail = "\" PortName \"COM1:\"";
        FUZZ_CHECK(command.size() > tail.size() && command.compare(command.size() - tail.size(), tail.size(), tail) == 0);
        FUZZ_CHECK(process.rfind("C:\\windows\\system32\\rundll32.exe|", 0) == 0);
    }
    for (const auto& printer : machine.printers) {
        if (!printer.name || !printer.port) continue;
        const std::string command = PrinterPortCommand(printer.name->c_str(), "COM1:");
        FUZZ_CHECK(command.empty() == (std::strchr(printer.name->c_str(), '"') != nullptr));
    }
    return 0;
}
