// The seam on Windows: each operation is the Win32 call of the same purpose, nothing more.
#pragma once

#include <windows.h>
// The seam names these operations plainly; the system header would rename them to its A or W forms.
#undef MessageBox
#undef EnumPrinters

#include "seam/Platform.h"

class Win32Platform : public seam::Platform {
public:
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
    PAINTSTRUCT m_paint{};
};
