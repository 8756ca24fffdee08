// English and Korean: the code page decides the captions, the default language the in-use marker and the
// information boxes; warnings are English everywhere.
#include "tests/unit/Program.h"

namespace {

struct Captions {
    std::string dialog, port, type, change, exit;
};
const Captions kEnglish{"VORTAN Serivo Port Information", "Serivo Port : ", "Printer Type : ", "Change the port", "E&xit"};
const Captions kKorean{"VORTAN 가상 COM 포트 정보", "설정된 가상 COM 포트 : ", "연결된 프린터 종류 : ", "포트 변경", "종료"};

TEST(Texts, EachLocaleTestGovernsItsOwnTexts) {
    const struct {
        const char* name;
        unsigned codePage;
        std::uint16_t lang;
        const Captions& captions;
        const char* marker;
    } cases[] = {
        {"English system", 1252, 0x0409, kEnglish, "Already used"},
        {"Korean system", 949, 0x0412, kKorean, "사용 중"},
        {"Korean code page, English language", 949, 0x0409, kKorean, "Already used"},
        {"English code page, Korean language", 1252, 0x0412, kEnglish, "사용 중"},
    };
    for (const auto& c : cases) {
        Machine m;
        m.codePage = c.codePage;
        m.langId = c.lang;
        m.setupAnswers["busynames"] = "COM1\n";
        seam::Handle dialog = 0;
        m.userInDialog[kMainDialog] = [&](seam::Handle d) { dialog = d; m.Press(d, IDCANCEL); };
        m.RunProgram();
        ASSERT_NE(dialog, 0u) << c.name;
        EXPECT_EQ(m.Win(dialog).text, c.captions.dialog) << c.name;
        EXPECT_EQ(m.Item(dialog, 1000).text, c.captions.port) << c.name;
        EXPECT_EQ(m.Item(dialog, 1003).text, c.captions.type) << c.name;
        EXPECT_EQ(m.Item(dialog, IDOK).text, c.captions.change) << c.name;
        EXPECT_EQ(m.Item(dialog, IDCANCEL).text, c.captions.exit) << c.name;
        EXPECT_EQ(m.Item(dialog, kPortList).items[0], std::string("COM1 ") + c.marker) << c.name;
        // Korean captions are set in this order: dialog, port label, printer-type label, Change, Exit.
        if (c.codePage == 949)
            EXPECT_EQ(m.Entries("text:"), (std::vector<std::string>{
                                              "text: 0 = " + kKorean.dialog, "text: 1000 = " + kKorean.port,
                                              "text: 1003 = " + kKorean.type, "text: 1 = " + kKorean.change,
                                              "text: 2 = " + kKorean.exit}))
                << c.name;
        else
            EXPECT_TRUE(m.Entries("text:").empty()) << c.name;
    }
}

TEST(Texts, WarningsStayEnglishOnAFullyKoreanSystem) {
    Machine m;
    m.codePage = 949;
    m.langId = 0x0412;
    m.setupAnswers.clear();
    m.userInDialog[kMainDialog] = [&](seam::Handle d) {
        m.Item(d, kPortList).selection = -1;
        m.Press(d, IDOK);
        m.SelectInCombo(d, kPortList, 0);
        m.Item(d, kPortList).selection = 300;
        m.SendCommand(d, kPortList, 1);
        m.Press(d, IDCANCEL);
    };
    m.RunProgram();
    EXPECT_EQ(m.Entries("warning:"),
              (std::vector<std::string>{"warning: Ravelix: '.\\__zur2ure__.txt' read fail or not exist !!!",
                                        "warning: Ravelix: '.\\__zur2ure__.txt' read fail or not exist !!!",
                                        "warning: Ravelix: Invalid COM Port !!!",
                                        "warning: Ravelix: Invalid COM Port !!!"}));
}

TEST(Texts, MessageTestPicksTheInformationTexts) {
    g_wLangID = 0x0412;
    EXPECT_STREQ(Text(TextKey::InformationTitle), "알림");
    EXPECT_STREQ(Text(TextKey::DeviceChanged), "VORTAN Serivo Device가 변경되었습니다.\r\n\r\n컴퓨터를 재시작 하십시오.");
    g_wLangID = 0x0409;
    EXPECT_STREQ(Text(TextKey::DeviceChanged), "VORTAN Serivo Device is changed.\r\n\r\nPlease reboot now.");
    EXPECT_STREQ(Text(TextKey::PortChanged), "Serivo Port is changed from COM%d to COM%d.");
    g_wLangID = 0x0012;  // Korean without a sublanguage is not the Korean default language
    EXPECT_STREQ(Text(TextKey::InformationTitle), "Information");
}

}  // namespace
