// The port inventory: which COM numbers are in use, and which one the virtual port carries.
#include <cstdio>
#include <cstring>

#include "app/ComPortDlg.h"
#include "portsetup/CaptureFile.h"
#include "portsetup/SetupCommands.h"

using seam::Sys;

namespace {

// Hands each line of the capture file, cleaned and traced, to visit until it returns false.
template <class Visit>
void ForEachCleanLine(std::unique_ptr<seam::InputFile> file, Visit visit) {
    LineReader reader(std::move(file));
    char line[kCaptureLineBuffer];
    while (reader.ReadLine(line, sizeof line)) {
        CleanLine(line);
        TraceOut("Buff : %s", line);
        if (!visit(static_cast<const char*>(line))) break;
    }
}

void WarnCaptureFileUnreadable() {
    char warning[kOutputFileBuffer + 64];
    std::snprintf(warning, sizeof warning, "'%s' read fail or not exist !!!", g_szOutputFile);
    AfxMessageBox(warning);
}

}  // namespace

int CComPortDlg::QueryUsedPorts() {
    RunSetupCommand("--output %s busynames COM*", g_szOutputFile);
    auto file = Sys().OpenForReading(g_szOutputFile);
    if (!file) {
        WarnCaptureFileUnreadable();
        return 0;  // the table keeps what it held
    }
    std::memset(m_UsedCOM, 0, sizeof m_UsedCOM);
    ForEachCleanLine(std::move(file), [this](const char* line) {
        int number = 0;
        if (!ParseUsedPortLine(line, &number)) return true;
        if (IsValidComNumber(number)) {
            m_UsedCOM[number] = 1;
            TraceOut("Used Num=%d", number);
        } else {
            TraceOut("Num=%d, Invalid COM Number", number);
        }
        return true;
    });
    return 1;
}

int CComPortDlg::QueryCurrentPort() {
    RunSetupCommand("--output %s list", g_szOutputFile);
    nNowCOM = 0;
    auto file = Sys().OpenForReading(g_szOutputFile);
    if (!file) {
        WarnCaptureFileUnreadable();
        return 0;
    }
    ForEachCleanLine(std::move(file), [this](const char* line) {
        int number = 0;
        if (!ParseCurrentPortLine(line, &number)) return true;
        if (!IsValidComNumber(number)) {
            TraceOut("Num=%d, Invalid COM Number", number);
            return true;
        }
        nNowCOM = number;
        TraceOut("nNowCOM=%d", nNowCOM);
        return false;  // the first usable line counts
    });
    return nNowCOM > 0 ? 1 : 0;
}
