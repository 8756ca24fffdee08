// Both inventory queries over an arbitrary capture file.
#include <cstdio>
#include <cstdlib>

#include "app/ComPortDlg.h"
#include "tests/fuzz/FuzzMachine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakePlatform machine;
    machine.setupAnswers["busynames"] = AsText(data, size);
    machine.setupAnswers["list"] = AsText(data, size);
    ResetOutputFile();
    CComPortDlg dlg;
    FUZZ_CHECK(dlg.QueryUsedPorts() == 1);
    FUZZ_CHECK(dlg.m_UsedCOM[0] == 0);
    for (int n = 0; n < 256; ++n) FUZZ_CHECK(dlg.m_UsedCOM[n] == 0 || dlg.m_UsedCOM[n] == 1);
    const int found = dlg.QueryCurrentPort();
    FUZZ_CHECK(dlg.nNowCOM >= 0 && dlg.nNowCOM <= 255);
    FUZZ_CHECK(found == (dlg.nNowCOM > 0 ? 1 : 0));
    FUZZ_CHECK(machine.boxes.empty());
    return 0;
}
