#include "settings/Texts.h"

std::uint16_t g_wLangID = 0;

const LocalizedText LocalizedTexts[9] = {
    {TextKey::DialogCaption, "VORTAN Serivo Port Information", "VORTAN 가상 COM 포트 정보"},
    {TextKey::PortLabel, "Serivo Port : ", "설정된 가상 COM 포트 : "},
    {TextKey::PrinterTypeLabel, "Printer Type : ", "연결된 프린터 종류 : "},
    {TextKey::ChangeButton, "Change the port", "포트 변경"},
    {TextKey::ExitButton, "E&xit", "종료"},
    {TextKey::InUseMarker, "Already used", "사용 중"},
    {TextKey::InformationTitle, "Information", "알림"},
    {TextKey::PortChanged, "Serivo Port is changed from COM%d to COM%d.", "Serivo Port가 COM%d에서 COM%d로 변경되었습니다."},
    {TextKey::DeviceChanged, "VORTAN Serivo Device is changed.\r\n\r\nPlease reboot now.",
     "VORTAN Serivo Device가 변경되었습니다.\r\n\r\n컴퓨터를 재시작 하십시오."},
};

namespace {

const LocalizedText& Entry(TextKey key) {
    for (const LocalizedText& entry : LocalizedTexts) {
        if (entry.key == key) return entry;
    }
    return LocalizedTexts[0];  // every key has its entry above
}

}  // namespace

const char* Text(TextKey key) {
    const LocalizedText& entry = Entry(key);
    return g_wLangID == kKoreanLangId ? entry.korean : entry.english;
}

const char* KoreanText(TextKey key) { return Entry(key).korean; }
