// The scripted SETUP.dll of the end-to-end tests (see DoublePlan.h for its folder and files).
#include "setupdll/SetupCore.h"
#include "setupdll/SetupEntry.h"
#include "setupdll/Win32Io.h"
#include "tests/setup_double/DoublePlan.h"

#include <optional>
#include <string>

namespace {

std::string InFolder(const char* fileName) {
    return setup::SiblingPath(setup::win32::ThisModulePath(), std::string(setup_double::kFolder) + "\\" + fileName);
}

}  // namespace

extern "C" int SETUP_ENTRY_CALL MainA(const char* programName, const char* commandLine) {
    try {
        setup::win32::EnsureFolder(setup::SiblingPath(setup::win32::ThisModulePath(), setup_double::kFolder));
        setup::win32::AppendToFile(InFolder(setup_double::kCallsLog),
                                   setup_double::LogLine(programName, commandLine, setup::win32::CurrentDirectory()));

        const setup_double::Plan plan = setup_double::PlanCall(commandLine ? commandLine : "");
        switch (plan.action) {
            case setup_double::Action::None:
                return 1;
            case setup_double::Action::CopyFixture: {
                const std::optional<std::string> bytes = setup::win32::ReadWholeFile(InFolder(plan.fixture.c_str()));
                if (bytes) setup::win32::WriteWholeFile(plan.output, *bytes);
                return 0;
            }
            case setup_double::Action::Change:
                if (!setup::win32::FileExists(InFolder(setup_double::kIgnoreChange))) {
                    setup::win32::WriteWholeFile(InFolder(setup_double::kListFixture), plan.newList);
                }
                setup::win32::WriteWholeFile(plan.output, "");
                return 0;
        }
        return 1;
    } catch (...) {
        return 3;  // nothing may leave a DLL entry point as an exception
    }
}
