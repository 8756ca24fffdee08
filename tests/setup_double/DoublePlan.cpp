#include "tests/setup_double/DoublePlan.h"

#include "setupdll/SetupCore.h"

#include <optional>

namespace setup_double {

Plan PlanCall(std::string_view commandLine) {
    Plan plan;
    const setup::ParsedCommandLine parsed = setup::ParseCommandLine(commandLine);
    if (!parsed.error.empty()) return plan;
    const setup::Invocation& call = parsed.invocation;
    if (call.command == "list") {
        plan.fixture = kListFixture;
    } else if (call.command == "busynames") {
        plan.fixture = kBusyNamesFixture;
    } else if (call.command == "change" && call.args.size() == 2 && call.args[0] == "CNCA0") {
        const std::optional<int> number = setup::ParsePortNameArgument(call.args[1]);
        if (!number) return plan;
        plan.action = Action::Change;
        plan.output = call.output;
        plan.newList = "CNCA0 PortName=" + setup::ComName(*number) + "\r\n";
        return plan;
    } else {
        return plan;
    }
    plan.action = Action::CopyFixture;
    plan.output = call.output;
    return plan;
}

std::string LogLine(const char* programName, const char* commandLine, std::string_view currentDirectory) {
    std::string line = "MainA|";
    line += programName ? programName : "";
    line += '|';
    line += commandLine ? commandLine : "";
    line += '|';
    line += currentDirectory;
    line += "\r\n";
    return line;
}

}  // namespace setup_double
