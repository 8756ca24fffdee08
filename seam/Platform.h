// The program's one seam to the operating system.
//
// Everything above this interface (framework, dialog logic, setup commands, settings, texts, spooler and
// printer logic) is portable and is exercised natively against a fake. The Windows implementation lives in
// win32/ and only translates each call into its Win32 counterpart; it makes no decisions of its own.
//
// Texts shown on screen (window texts, list entries, message boxes) are UTF-8 here; the Windows side hands
// them to the wide API. Everything else (paths, profile values, command lines, printer names) is the
// system's 8-bit ANSI text, passed through unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace seam {

// Opaque window, menu, icon and device-context handles.
using Handle = std::uintptr_t;

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// An open file, read in bytes.
class InputFile {
public:
    virtual ~InputFile() = default;
    // Reads up to size bytes into buffer; returns the number read, 0 at the end of the file or on error.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// The spooler's level-2 printer record, laid out field for field as the system lays it out, so that the
// enumeration buffer the system fills can be read in place.
struct PrinterInfo2 {
    char* pServerName;
    char* pPrinterName;
    char* pShareName;
    char* pPortName;
    char* pDriverName;
    char* pComment;
    char* pLocation;
    void* pDevMode;
    char* pSepFile;
    char* pPrintProcessor;
    char* pDatatype;
    char* pParameters;
    void* pSecurityDescriptor;
    std::uint32_t Attributes;
    std::uint32_t Priority;
    std::uint32_t DefaultPriority;
    std::uint32_t StartTime;
    std::uint32_t UntilTime;
    std::uint32_t Status;
    std::uint32_t cJobs;
    std::uint32_t AveragePPM;
};

// Message box flags, with the system's values.
namespace mb {
constexpr unsigned Ok = 0x0000;
constexpr unsigned IconExclamation = 0x0030;
constexpr unsigned IconInformation = 0x0040;
constexpr unsigned TopMost = 0x40000;
}  // namespace mb

class Platform {
public:
    virtual ~Platform() = default;

    // --- Locale
    virtual unsigned AnsiCodePage() = 0;                  // GetACP
    virtual std::uint16_t SystemDefaultLangId() = 0;      // GetSystemDefaultLangID
    virtual bool IsLeadByte(unsigned char byte) = 0;      // IsDBCSLeadByte, in the ANSI code page

    // --- Module, folders, files
    virtual std::string ModuleFileName() = 0;             // full path of the executable; "" on failure
    virtual bool SetCurrentFolder(const std::string& path) = 0;
    virtual std::string SystemFolder() = 0;               // GetSystemDirectoryA; "" on failure
    virtual bool RemoveFile(const std::string& path) = 0; // DeleteFileA
    virtual std::unique_ptr<InputFile> OpenForReading(const std::string& path) = 0;  // "rb"; null on failure

    // --- The setup library's entry point
    virtual int SetupMain(const char* programName, const char* commandLine) = 0;

    // --- Private profile files and the system profile
    // Same contract as GetPrivateProfileStringA: copies at most size - 1 characters and a NUL; returns the count.
    virtual unsigned ReadPrivateProfile(const char* section, const char* key, const char* defaultValue,
                                        char* buffer, unsigned size, const char* file) = 0;
    virtual bool WritePrivateProfile(const char* section, const char* key, const char* value,
                                     const char* file) = 0;
    // WriteProfileStringA; a null value deletes the key.
    virtual bool WriteSystemProfile(const char* section, const char* key, const char* value) = 0;
    virtual unsigned LastError() = 0;
    // SendMessage(HWND_BROADCAST, WM_WININICHANGE, 0, section): returns when every window has handled it.
    virtual void BroadcastProfileChange(const char* section) = 0;

    // --- Printers and processes
    // EnumPrintersA(flags, no server, level 2, buffer, size, needed, returned).
    virtual bool EnumPrinters(unsigned flags, unsigned char* buffer, unsigned size, unsigned* needed,
                              unsigned* returned) = 0;
    // CreateProcessA(application, commandLine, ...) with the window hidden, then waits for it without a
    // time limit and releases its handles. False when it could not be started.
    virtual bool RunHiddenProcess(const std::string& application, const std::string& commandLine) = 0;
    virtual void ShowWaitCursor(bool on) = 0;

    // --- Dialogs and windows
    // Creates the dialog from its template and runs it modally; every message reaches sink.
    class DialogSink {
    public:
        virtual ~DialogSink() = default;
        // Returns true when handled (result in *result); false for the system's default processing.
        virtual bool OnDialogMessage(Handle window, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam, std::intptr_t* result) = 0;
    };
    virtual int RunModalDialog(int templateId, Handle owner, DialogSink& sink) = 0;
    virtual void EndModalDialog(Handle dialog, int result) = 0;
    virtual Handle DialogItem(Handle dialog, int id) = 0;                      // GetDlgItem
    virtual void SetText(Handle window, const std::string& utf8) = 0;          // SetWindowTextW
    virtual std::string GetText(Handle window) = 0;                            // GetWindowTextW, as UTF-8
    virtual void EnableWindow(Handle window, bool enable) = 0;
    virtual bool IsWindowEnabled(Handle window) = 0;
    virtual bool IsWindowVisible(Handle window) = 0;
    virtual bool IsIconic(Handle window) = 0;
    virtual void MakeTopMost(Handle window) = 0;                               // HWND_TOPMOST, no move/size
    virtual Rect WindowRect(Handle window) = 0;                                // screen coordinates
    virtual Rect ClientRect(Handle window) = 0;
    virtual Rect WorkAreaOf(Handle window) = 0;                                // of the monitor that holds it
    virtual void MoveWindowTo(Handle window, int x, int y) = 0;                // no resize, no z-order change
    virtual std::intptr_t Send(Handle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual bool Post(Handle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual int MessageBox(Handle owner, const std::string& textUtf8, const std::string& captionUtf8,
                           unsigned flags) = 0;

    // Combo boxes, by dialog and control id.
    virtual void ComboReset(Handle dialog, int id) = 0;                        // CB_RESETCONTENT
    virtual void ComboRedraw(Handle dialog, int id, bool on) = 0;              // WM_SETREDRAW
    virtual int ComboAdd(Handle dialog, int id, const std::string& utf8) = 0;  // CB_ADDSTRING
    virtual void ComboSelect(Handle dialog, int id, int position) = 0;         // CB_SETCURSEL
    virtual int ComboSelection(Handle dialog, int id) = 0;                     // CB_GETCURSEL, -1 for none

    // Resources of the program's own module.
    virtual Handle LoadAppIcon(int id) = 0;
    virtual std::string LoadAppString(int id) = 0;                             // UTF-8; "" when missing
    virtual void SetIcons(Handle window, Handle icon) = 0;                     // WM_SETICON big, then small

    // System menu and painting.
    virtual Handle SystemMenu(Handle window) = 0;                              // GetSystemMenu(FALSE)
    virtual void AppendMenuSeparator(Handle menu) = 0;
    virtual void AppendMenuItem(Handle menu, unsigned id, const std::string& utf8) = 0;
    virtual Handle BeginPaint(Handle window) = 0;                              // returns the device context
    virtual void EndPaint(Handle window) = 0;
    virtual void DrawIcon(Handle dc, int x, int y, Handle icon) = 0;
    virtual int IconWidth() = 0;                                               // SM_CXICON
    virtual int IconHeight() = 0;                                              // SM_CYICON

    // Help: WinHelpA with HELP_CONTEXT.
    virtual void ShowHelp(Handle window, const std::string& helpFile, unsigned context) = 0;

    // Diagnostic trace lines; the Windows side discards them.
    virtual void Trace(const std::string& line) = 0;
};

// The platform the program runs on. Set once at start (by the Windows entry point, or by a test).
Platform& Sys();
void SetPlatform(Platform* platform);

}  // namespace seam
