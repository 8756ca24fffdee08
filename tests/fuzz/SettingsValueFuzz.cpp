// The stored printer type over arbitrary settings-file values.
#include <cstdio>
#include <cstdlib>

#include "settings/SettingsFile.h"
#include "tests/fuzz/FuzzMachine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = AsText(data, size).c_str();
    const int whole = LenientDecimal(text.c_str());
    (void)whole;

    FakePlatform machine;
    machine.privateProfiles[".\\VConfig.ini"]["Zur2Ure"]["PrinterType"] = text;
    const int type = LoadPrinterType();
    // At most three characters are seen: the value lies in -99 to 999.
    FUZZ_CHECK(type >= -99 && type <= 999);
    FUZZ_CHECK(type == LenientDecimal(text.substr(0, 3).c_str()));
    FUZZ_CHECK(g_nPrinterType == type);
    return 0;
}
