// The program's English and Korean texts, and which one each locale test picks.
//
// The Korean texts are kept as UTF-8 and reach the screen through the wide API, so that they show
// correctly whatever the system's ANSI code page is.
#pragma once

#include <cstdint>

// The system's default language, read once when the dialog opens.
extern std::uint16_t g_wLangID;

constexpr std::uint16_t kKoreanLangId = 0x0412;
constexpr unsigned kKoreanCodePage = 949;

enum class TextKey {
    DialogCaption,
    PortLabel,
    PrinterTypeLabel,
    ChangeButton,
    ExitButton,
    InUseMarker,
    InformationTitle,
    PortChanged,    // old number, new number
    DeviceChanged,
};

struct LocalizedText {
    TextKey key;
    const char* english;
    const char* korean;
};

extern const LocalizedText LocalizedTexts[9];

// The text of a key in the language the message test picks: Korean when the default language is Korean.
const char* Text(TextKey key);

// The Korean text of a key, whatever the locale.
const char* KoreanText(TextKey key);
