// A machine to run the program on in tests: the fake platform with the setup library answering as a
// typical installation does, and the program's process-wide values reset.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/ComPortApp.h"
#include "portsetup/SetupCommands.h"
#include "settings/SettingsFile.h"
#include "settings/Texts.h"
#include "tests/fakes/FakePlatform.h"

constexpr const char* kCapture = ".\\__zur2ure__.txt";
constexpr const char* kSettings = ".\\VConfig.ini";

// Virtual port on COM5; COM1, COM3 and the virtual port itself in use.
constexpr const char* kTypicalList = "       CNCA0 PortName=COM5\r\n       CNCB0 PortName=-\r\n";
constexpr const char* kTypicalBusy = "COM1\r\nCOM3\r\nCOM5\r\n";

class Machine : public FakePlatform {
public:
    Machine() {
        setupAnswers["list"] = kTypicalList;
        setupAnswers["busynames"] = kTypicalBusy;
        setupAnswers["change"] = "";
        g_szCommand[0] = '\0';
        g_szOutputFile[0] = '\0';
        g_wLangID = 0;
        g_nPrinterType = 0;
        // A rename that takes: the next "list" reports the new name.
        onSetupCall = [this](const std::string& commandLine) {
            const std::string change = "change CNCA0 PortName=";
            const auto at = commandLine.find(change);
            if (at != std::string::npos && renameTakes)
                setupAnswers["list"] = "CNCA0 " + commandLine.substr(at + change.size() - 9) + "\r\n";
        };
    }

    bool renameTakes = true;

    // Starts the program as the system does; the user scripts in userInDialog play while it is open.
    void RunProgram() { AfxWinMain(); }

    // The journal entries that start with the given prefix, in order.
    std::vector<std::string> Entries(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& e : journal)
            if (e.rfind(prefix, 0) == 0) out.push_back(e);
        return out;
    }
    // The journal's effects a user or an administrator would notice, in order.
    std::vector<std::string> Effects() const {
        std::vector<std::string> out;
        for (const auto& e : journal)
            for (const char* p : {"info:", "warning:", "ini:", "setup:", "run:", "profile:", "broadcast:", "end dialog:"})
                if (e.rfind(p, 0) == 0) out.push_back(e);
        return out;
    }
    bool Traced(const std::string& line) const {
        return std::find(traces.begin(), traces.end(), line) != traces.end();
    }
};

// The main dialog's template number.
constexpr int kMainDialog = 102;
constexpr int kPortList = 1001;
constexpr int kTypeList = 1002;
