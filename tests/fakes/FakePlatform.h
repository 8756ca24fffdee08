// A fake of the seam: an in-memory machine that records, in order, everything the program asks of it.
// Tests set it up (files, settings, printers, the setup library's answers), play the user through
// scripted dialogs, and read back the journal of effects.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "seam/Platform.h"

class FakePlatform : public seam::Platform {
public:
    FakePlatform();
    ~FakePlatform() override;

    // ---- The machine, as the test sets it up
    unsigned codePage = 1252;
    std::uint16_t langId = 0x0409;
    std::string modulePath = "C:\\Program Files\\Ravelix\\Ravelix.exe";
    std::vector<unsigned char> leadBytes;  // lead bytes of the ANSI code page (e.g. 0x81..0xFE for 949)
    std::string systemFolder = "C:\\windows\\system32";
    std::string currentFolder = "C:\\Users\\shop";
    std::map<std::string, std::string> files;  // by path as the program names it

    // The setup library: what each command writes to the capture file (no entry: it writes no file).
    std::map<std::string, std::string> setupAnswers;  // "list", "busynames", "change"
    // Called for every setup library call after the answer is written, e.g. to rename the port.
    std::function<void(const std::string& commandLine)> onSetupCall;

    // Private profiles: file -> section -> key -> value.
    std::map<std::string, std::map<std::string, std::map<std::string, std::string>>> privateProfiles;
    // The system profile: section -> key -> value.
    std::map<std::string, std::map<std::string, std::string>> systemProfile;
    bool systemProfileWritesFail = false;
    unsigned lastError = 0;

    struct Printer {
        std::optional<std::string> name;
        std::optional<std::string> port;
    };
    std::vector<Printer> printers;
    bool enumerationFails = false;
    bool processesFail = false;

    // The user: what happens while a dialog of the given template is open (after its preparation), and
    // while a message box is shown. A dialog the script leaves open ends with -1.
    std::map<int, std::function<void(seam::Handle dialog)>> userInDialog;
    std::function<void(const std::string& text)> userInMessageBox;

    // ---- What the program did
    std::vector<std::string> journal;  // effects in order
    std::vector<std::string> traces;
    struct Box {
        seam::Handle owner;
        std::string text, caption;
        unsigned flags;
    };
    std::vector<Box> boxes;
    std::vector<std::string> setupCalls;  // command lines
    std::vector<std::string> processes;   // "application|command line"

    // ---- Playing the user
    void Press(seam::Handle dialog, int buttonId);
    void SelectInCombo(seam::Handle dialog, int comboId, int position);  // with the selection-change notification
    void SendCommand(seam::Handle dialog, unsigned id, unsigned code);
    bool SendTo(seam::Handle dialog, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    void PressF1(seam::Handle dialog);

    // ---- Reading the screen
    struct Window {
        seam::Handle parent = 0;
        int id = 0;
        std::string text;
        bool enabled = true;
        bool visible = false;
        bool topMost = false;
        bool iconic = false;
        seam::Rect rect;
        std::vector<std::string> items;
        int selection = -1;
        bool redraw = true;
        seam::Handle bigIcon = 0, smallIcon = 0;
        std::vector<std::string> menu;
        int templateId = 0;
        seam::Handle owner = 0;
    };
    Window& Item(seam::Handle dialog, int id);
    Window& Win(seam::Handle window);
    std::map<seam::Handle, Window> windows;
    seam::Rect workArea{0, 0, 1024, 768};
    std::vector<seam::Handle> openDialogs;  // innermost last

    // ---- The seam
    unsigned AnsiCodePage() override;
    std::uint16_t SystemDefaultLangId() override;
    bool IsLeadByte(unsigned char byte) override;
    std::string ModuleFileName() override;
    bool SetCurrentFolder(const std::string& path) override;
    std::string SystemFolder() override;
    bool RemoveFile(const std::string& path) override;
    std::unique_ptr<seam::InputFile> OpenForReading(const std::string& path) override;
    int SetupMain(const char* programName, const char* commandLine) override;
    unsigned ReadPrivateProfile(const char* section, const char* key, const char* defaultValue, char* buffer,
                                unsigned size, const char* file) override;
    bool WritePrivateProfile(const char* section, const char* key, const char* value, const char* file) override;
    bool WriteSystemProfile(const char* section, const char* key, const char* value) override;
    unsigned LastError() override;
    void BroadcastProfileChange(const char* section) override;
    bool EnumPrinters(unsigned flags, unsigned char* buffer, unsigned size, unsigned* needed,
                      unsigned* returned) override;
    bool RunHiddenProcess(const std::string& application, const std::string& commandLine) override;
    void ShowWaitCursor(bool on) override;
    int RunModalDialog(int templateId, seam::Handle owner, DialogSink& sink) override;
    void EndModalDialog(seam::Handle dialog, int result) override;
    seam::Handle DialogItem(seam::Handle dialog, int id) override;
    void SetText(seam::Handle window, const std::string& utf8) override;
    std::string GetText(seam::Handle window) override;
    void EnableWindow(seam::Handle window, bool enable) override;
    bool IsWindowEnabled(seam::Handle window) override;
    bool IsWindowVisible(seam::Handle window) override;
    bool IsIconic(seam::Handle window) override;
    void MakeTopMost(seam::Handle window) override;
    seam::Rect WindowRect(seam::Handle window) override;
    seam::Rect ClientRect(seam::Handle window) override;
    seam::Rect WorkAreaOf(seam::Handle window) override;
    void MoveWindowTo(seam::Handle window, int x, int y) override;
    std::intptr_t Send(seam::Handle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool Post(seam::Handle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    int MessageBox(seam::Handle owner, const std::string& textUtf8, const std::string& captionUtf8,
                   unsigned flags) override;
    void ComboReset(seam::Handle dialog, int id) override;
    void ComboRedraw(seam::Handle dialog, int id, bool on) override;
    int ComboAdd(seam::Handle dialog, int id, const std::string& utf8) override;
    void ComboSelect(seam::Handle dialog, int id, int position) override;
    int ComboSelection(seam::Handle dialog, int id) override;
    seam::Handle LoadAppIcon(int id) override;
    std::string LoadAppString(int id) override;
    void SetIcons(seam::Handle window, seam::Handle icon) override;
    seam::Handle SystemMenu(seam::Handle window) override;
    void AppendMenuSeparator(seam::Handle menu) override;
    void AppendMenuItem(seam::Handle menu, unsigned id, const std::string& utf8) override;
    seam::Handle BeginPaint(seam::Handle window) override;
    void EndPaint(seam::Handle window) override;
    void DrawIcon(seam::Handle dc, int x, int y, seam::Handle icon) override;
    int IconWidth() override;
    int IconHeight() override;
    void ShowHelp(seam::Handle window, const std::string& helpFile, unsigned context) override;
    void Trace(const std::string& line) override;

private:
    struct Posted {
        seam::Handle window;
        unsigned message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    void DeliverPosted();
    seam::Handle NewHandle() { return nextHandle_ += 0x10; }

    std::map<seam::Handle, DialogSink*> sinks_;
    std::map<seam::Handle, int> results_;
    std::vector<Posted> posted_;
    std::vector<unsigned char> enumBuffer_;
    seam::Handle nextHandle_ = 0x1000;
};

// Journal helpers for tests.
std::string Joined(const std::vector<std::string>& lines);
