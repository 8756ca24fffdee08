#include "printing/Spooler.h"

#include "framework/Trace.h"
#include "seam/Platform.h"

using seam::Sys;

namespace {
constexpr const char* kPortsSection = "ports";
}

int RemoveSpoolerPort(const char* name) {
    if (!Sys().WriteSystemProfile(kPortsSection, name, nullptr)) {
        TraceOut("Delete : WriteProfileString() Fail !!!, GetLastError()=%d", static_cast<int>(Sys().LastError()));
        TraceOut("PortA=%s", name);
        return 0;
    }
    TraceOut("Success : Delete %s from Ports", name);
    Sys().BroadcastProfileChange(kPortsSection);
    return 1;
}

int AddSpoolerPort(const char* name) {
    if (!Sys().WriteSystemProfile(kPortsSection, name, kPortSettings)) {
        TraceOut("Add : WriteProfileString() Fail !!!, GetLastError()=%d", static_cast<int>(Sys().LastError()));
        TraceOut("PortB=%s", name);
        return 0;
    }
    TraceOut("Success : Add %s to Ports", name);
    Sys().BroadcastProfileChange(kPortsSection);
    return 1;
}
