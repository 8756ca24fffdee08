#include "setupdll/SetupCore.h"

#include <cstddef>

namespace setup {

namespace {

constexpr const char* kPortId = "CNCA0";
constexpr const char* kOtherEndId = "CNCB0";
constexpr const char* kLineIndent = "       ";
constexpr const char* kNewLine = "\r\n";

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool ContainsNoCase(const std::vector<std::string>& names, std::string_view name) {
    for (const std::string& n : names) {
        if (EqualNoCase(Trim(n), name)) return true;
    }
    return false;
}

Outcome UsageError(const std::string& output, const std::string& message) {
    Outcome outcome;
    outcome.status = 1;
    if (!output.empty()) {
        outcome.output = output;
        outcome.capture = "error: " + message + kNewLine;
    }
    return outcome;
}

}  // namespace

std::vector<std::string> SplitWords(std::string_view commandLine) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < commandLine.size()) {
        if (commandLine[i] == ' ' || commandLine[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        bool quoted = false;
        for (; i < commandLine.size(); ++i) {
            const char c = commandLine[i];
            if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && (c == ' ' || c == '\t')) {
                break;
            } else {
                word += c;
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

ParsedCommandLine ParseCommandLine(std::string_view commandLine) {
    ParsedCommandLine parsed;
    const std::vector<std::string> words = SplitWords(commandLine);
    std::size_t i = 0;
    for (; i < words.size() && words[i].compare(0, 2, "--") == 0; ++i) {
        if (words[i] == "--output") {
            if (i + 1 >= words.size() || words[i + 1].empty()) {
                parsed.error = "--output needs a path";
                return parsed;
            }
            parsed.invocation.output = words[++i];
        } else {
            parsed.error = "unknown option " + words[i];
            return parsed;
        }
    }
    if (i < words.size()) {
        parsed.invocation.command = words[i++];
        parsed.invocation.args.assign(words.begin() + static_cast<std::ptrdiff_t>(i), words.end());
    }
    if (parsed.invocation.output.empty()) {
        parsed.error = "missing --output <path>";
    } else if (parsed.invocation.command.empty()) {
        parsed.error = "missing command";
    }
    return parsed;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    // Greedy scan that remembers the last '*' and retries from one character further on a mismatch.
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::optional<int> ParseComName(std::string_view name) {
    if (!StartsWithNoCase(name, "COM")) return std::nullopt;
    const std::string_view digits = name.substr(3);
    if (digits.empty() || digits.size() > 3 || digits[0] == '0') return std::nullopt;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < kMinComNumber || value > kMaxComNumber) return std::nullopt;
    return value;
}

std::optional<int> ParsePortNameArgument(std::string_view argument) {
    constexpr std::string_view key = "PortName=";
    if (!StartsWithNoCase(argument, key)) return std::nullopt;
    return ParseComName(argument.substr(key.size()));
}

std::string ComName(int number) { return "COM" + std::to_string(number); }

std::optional<std::string> ParseStateFile(std::string_view content) {
    const std::optional<int> number = ParseComName(Trim(content));
    if (!number) return std::nullopt;
    return ComName(*number);
}

std::string DefaultPortName(const std::vector<std::string>& deviceMap) {
    for (int n = kFirstDefaultComNumber; n <= kMaxComNumber; ++n) {
        const std::string name = ComName(n);
        if (!ContainsNoCase(deviceMap, name)) return name;
    }
    return ComName(kFirstDefaultComNumber);
}

std::string ListText(std::string_view portName) {
    std::string text;
    text += kLineIndent;
    text += kPortId;
    text += " PortName=";
    text += portName;
    text += kNewLine;
    text += kLineIndent;
    text += kOtherEndId;
    text += " PortName=-";
    text += kNewLine;
    return text;
}

std::string BusyNamesText(std::string_view pattern, const std::vector<std::string>& deviceMap,
                          std::string_view portName) {
    std::vector<std::string> candidates = deviceMap;
    candidates.emplace_back(portName);
    std::vector<std::string> listed;
    std::string text;
    for (const std::string& candidate : candidates) {
        const std::string_view name = Trim(candidate);
        if (name.empty() || !WildcardMatch(pattern, name) || ContainsNoCase(listed, name)) continue;
        listed.emplace_back(name);
        text += name;
        text += kNewLine;
    }
    return text;
}

std::string SiblingPath(std::string_view modulePath, std::string_view fileName) {
    const std::size_t slash = modulePath.find_last_of("\\/");
    std::string path;
    if (slash != std::string_view::npos) path = modulePath.substr(0, slash + 1);
    path += fileName;
    return path;
}

Outcome Run(std::string_view commandLine, const std::vector<std::string>& deviceMap,
            std::string_view stateFile) {
    const ParsedCommandLine parsed = ParseCommandLine(commandLine);
    const Invocation& call = parsed.invocation;
    if (!parsed.error.empty()) return UsageError(call.output, parsed.error);

    const std::optional<std::string> recorded = ParseStateFile(stateFile);
    const std::string current = recorded ? *recorded : DefaultPortName(deviceMap);

    Outcome outcome;
    outcome.output = call.output;
    if (EqualNoCase(call.command, "list")) {
        if (!call.args.empty()) return UsageError(call.output, "list takes no arguments");
        outcome.capture = ListText(current);
    } else if (EqualNoCase(call.command, "busynames")) {
        if (call.args.size() != 1) return UsageError(call.output, "usage: busynames <pattern>");
        outcome.capture = BusyNamesText(call.args[0], deviceMap, current);
    } else if (EqualNoCase(call.command, "change")) {
        if (call.args.size() != 2) return UsageError(call.output, "usage: change CNCA0 PortName=COM<n>");
        if (!EqualNoCase(call.args[0], kPortId)) return UsageError(call.output, "no such port " + call.args[0]);
        const std::optional<int> number = ParsePortNameArgument(call.args[1]);
        if (!number) return UsageError(call.output, "invalid " + call.args[1] + ", expected PortName=COM1..COM255");
        outcome.newState = ComName(*number);
        return outcome;
    } else {
        return UsageError(call.output, "unknown command " + call.command);
    }
    // The first valid call fixes the default name, so that later calls see the same port.
    if (!recorded) outcome.newState = current;
    return outcome;
}

}  // namespace setup
