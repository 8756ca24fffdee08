// The scripted SETUP.dll for the end-to-end tests: what one MainA call does, free of any system call.
//
// Its folder "setup-double" beside the DLL holds the script and the record:
//   calls.log      one line appended per call, before anything else: MainA|<program>|<command line>|<cwd>
//   list.txt       copied byte for byte to the capture file of "list"; no capture file when missing
//   busynames.txt  the same for "busynames ..."
//   ignore-change  when present, "change" leaves list.txt alone
// "change CNCA0 PortName=COM<n>" rewrites list.txt to "CNCA0 PortName=COM<n>\r\n" and writes an empty
// capture file.
#pragma once

#include <string>
#include <string_view>

namespace setup_double {

constexpr const char* kFolder = "setup-double";
constexpr const char* kCallsLog = "calls.log";
constexpr const char* kListFixture = "list.txt";
constexpr const char* kBusyNamesFixture = "busynames.txt";
constexpr const char* kIgnoreChange = "ignore-change";

enum class Action {
    None,         // a command line it does not understand: nothing written, MainA returns 1
    CopyFixture,  // copy the fixture file to the capture file, if the fixture exists
    Change,       // rewrite list.txt with newList (unless ignore-change exists); empty capture file
};

struct Plan {
    Action action = Action::None;
    std::string output;   // the capture file, relative to the caller's current directory
    std::string fixture;  // CopyFixture: the file in the double's folder
    std::string newList;  // Change: list.txt's new content
};

Plan PlanCall(std::string_view commandLine);

// The calls.log line for one call, "\r\n" included; a null text is logged empty.
std::string LogLine(const char* programName, const char* commandLine, std::string_view currentDirectory);

}  // namespace setup_double
