// The stand-in setup library's decisions, free of any system call.
//
// MainA (SetupMain.cpp) reads what the system knows (the serial device map, the state file beside the DLL),
// hands it to Run() and writes back what Run() asks for. Everything that can be decided is decided here
// and tested natively.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

// The lowest and highest COM numbers a port name may carry.
constexpr int kMinComNumber = 1;
constexpr int kMaxComNumber = 255;
// The virtual port's name when none has been recorded yet: the lowest free COM number from here upward.
constexpr int kFirstDefaultComNumber = 3;
// The state file, beside the DLL: the virtual port's current name, e.g. "COM7".
constexpr const char* kStateFileName = "SETUP.port";

// A command line split into its parts: "--output <path> <command> <args...>".
struct Invocation {
    std::string output;              // the capture file as given; relative paths are the caller's
    std::string command;             // as given, e.g. "list"
    std::vector<std::string> args;   // the words after the command
};

struct ParsedCommandLine {
    Invocation invocation;
    std::string error;               // empty when the command line has an output and a command
};

// Words are separated by spaces or tabs; a word may be enclosed in double quotes to hold spaces.
std::vector<std::string> SplitWords(std::string_view commandLine);

// Options ("--output <path>") come first, then the command and its arguments.
ParsedCommandLine ParseCommandLine(std::string_view commandLine);

// Case-insensitive match of a whole name: '*' matches any run of characters, '?' exactly one.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// "COM<n>" (any case), n decimal without sign or leading zeros, 1..255; the number, or nothing.
std::optional<int> ParseComName(std::string_view name);

// "PortName=COM<n>" (any case); the number, or nothing.
std::optional<int> ParsePortNameArgument(std::string_view argument);

// "COM<n>" for n.
std::string ComName(int number);

// The name recorded in the state file (surrounding white space ignored), normalised to "COM<n>";
// nothing when the file is empty or does not hold a valid name.
std::optional<std::string> ParseStateFile(std::string_view content);

// The lowest COM<n>, n from kFirstDefaultComNumber upward, that the device map does not name;
// COM<kFirstDefaultComNumber> when it names them all.
std::string DefaultPortName(const std::vector<std::string>& deviceMap);

// The text of "list": the pair's two ends, the first one carrying portName.
std::string ListText(std::string_view portName);

// The text of "busynames <pattern>": each name of the device map, then the virtual port's name, that
// matches the pattern, one per line, each name once (compared without regard to case).
std::string BusyNamesText(std::string_view pattern, const std::vector<std::string>& deviceMap,
                          std::string_view portName);

// fileName in the folder of modulePath (a full path with '\\' or '/' separators).
std::string SiblingPath(std::string_view modulePath, std::string_view fileName);

// What MainA does for one call.
struct Outcome {
    int status = 0;                       // MainA's return value: 0 done, 1 usage error
    std::optional<std::string> output;    // write the capture file here, when set
    std::string capture;                  // the capture file's bytes
    std::optional<std::string> newState;  // write the state file with this, when set
};

// One call: the command line as passed to MainA, the names under the serial device map, and the state
// file's content ("" when there is none).
Outcome Run(std::string_view commandLine, const std::vector<std::string>& deviceMap,
            std::string_view stateFile);

}  // namespace setup
