#include "win32/Win32Platform.h"

#include <cstddef>
#include <cstdio>
#include <vector>

#include "setupdll/SetupEntry.h"

// The seam's printer record is read in place from the spooler's buffer: its layout must be the system's.
static_assert(sizeof(seam::PrinterInfo2) == sizeof(PRINTER_INFO_2A), "printer record size");
static_assert(offsetof(seam::PrinterInfo2, pPrinterName) == offsetof(PRINTER_INFO_2A, pPrinterName), "printer name");
static_assert(offsetof(seam::PrinterInfo2, pPortName) == offsetof(PRINTER_INFO_2A, pPortName), "port name");
static_assert(offsetof(seam::PrinterInfo2, AveragePPM) == offsetof(PRINTER_INFO_2A, AveragePPM), "last field");

namespace {

HWND H(seam::Handle h) { return reinterpret_cast<HWND>(h); }
template <class T>
seam::Handle S(T h) { return reinterpret_cast<seam::Handle>(h); }

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const wchar_t* wide, int length) {
    if (length <= 0) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

class CFile : public seam::InputFile {
public:
    explicit CFile(FILE* f) : f_(f) {}
    ~CFile() override { std::fclose(f_); }
    std::size_t Read(char* buffer, std::size_t size) override { return std::fread(buffer, 1, size, f_); }

private:
    FILE* f_;
};

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(window, DWLP_USER, lParam);
    auto* sink = reinterpret_cast<seam::Platform::DialogSink*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!sink) return FALSE;
    std::intptr_t result = 0;
    if (!sink->OnDialogMessage(S(window), message, wParam, lParam, &result)) return FALSE;
    // These two return their value directly; every other handled message returns TRUE.
    if (message == WM_INITDIALOG || message == WM_QUERYDRAGICON) return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace

unsigned Win32Platform::AnsiCodePage() { return GetACP(); }
std::uint16_t Win32Platform::SystemDefaultLangId() { return GetSystemDefaultLangID(); }
bool Win32Platform::IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::string Win32Platform::ModuleFileName() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return {};
    return std::string(path, n);
}

bool Win32Platform::SetCurrentFolder(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != FALSE; }

std::string Win32Platform::SystemFolder() {
    char path[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(path, sizeof path);
    if (n == 0 || n >= sizeof path) return {};
    return std::string(path, n);
}

bool Win32Platform::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

std::unique_ptr<seam::InputFile> Win32Platform::OpenForReading(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return nullptr;
    return std::make_unique<CFile>(f);
}

int Win32Platform::SetupMain(const char* programName, const char* commandLine) { return MainA(programName, commandLine); }

unsigned Win32Platform::ReadPrivateProfile(const char* section, const char* key, const char* defaultValue,
                                           char* buffer, unsigned size, const char* file) {
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file);
}

bool Win32Platform::WritePrivateProfile(const char* section, const char* key, const char* value, const char* file) {
    return WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

bool Win32Platform::WriteSystemProfile(const char* section, const char* key, const char* value) {
    return WriteProfileStringA(section, key, value) != FALSE;
}

unsigned Win32Platform::LastError() { return GetLastError(); }

void Win32Platform::BroadcastProfileChange(const char* section) {
    SendMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(section));
}

bool Win32Platform::EnumPrinters(unsigned flags, unsigned char* buffer, unsigned size, unsigned* needed,
                                 unsigned* returned) {
    // The spooler's library is loaded only when printers are enumerated, from the system folder alone:
    // it is large, and most runs never need it.
    using EnumPrintersFn = BOOL(WINAPI*)(DWORD, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);
    static const auto enumPrinters = [] {
        HMODULE spooler = LoadLibraryExW(L"winspool.drv", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return spooler ? reinterpret_cast<EnumPrintersFn>(
                             reinterpret_cast<void*>(GetProcAddress(spooler, "EnumPrintersA")))
                       : nullptr;
    }();
    DWORD n = 0;
    DWORD r = 0;
    const BOOL ok = enumPrinters ? enumPrinters(flags, nullptr, 2, buffer, size, &n, &r) : FALSE;
    *needed = n;
    *returned = r;
    return ok != FALSE;
}

bool Win32Platform::RunHiddenProcess(const std::string& application, const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

void Win32Platform::ShowWaitCursor(bool on) { SetCursor(LoadCursorA(nullptr, on ? IDC_WAIT : IDC_ARROW)); }

int Win32Platform::RunModalDialog(int templateId, seam::Handle owner, DialogSink& sink) {
    return static_cast<int>(DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), H(owner),
                                            DialogProc, reinterpret_cast<LPARAM>(&sink)));
}

void Win32Platform::EndModalDialog(seam::Handle dialog, int result) { ::EndDialog(H(dialog), result); }
seam::Handle Win32Platform::DialogItem(seam::Handle dialog, int id) { return S(GetDlgItem(H(dialog), id)); }
void Win32Platform::SetText(seam::Handle window, const std::string& utf8) { SetWindowTextW(H(window), Wide(utf8).c_str()); }

std::string Win32Platform::GetText(seam::Handle window) {
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(H(window))) + 1);
    const int n = GetWindowTextW(H(window), text.data(), static_cast<int>(text.size()));
    return Utf8(text.data(), n);
}

void Win32Platform::EnableWindow(seam::Handle window, bool enable) { ::EnableWindow(H(window), enable); }
bool Win32Platform::IsWindowEnabled(seam::Handle window) { return ::IsWindowEnabled(H(window)) != FALSE; }
bool Win32Platform::IsWindowVisible(seam::Handle window) { return ::IsWindowVisible(H(window)) != FALSE; }
bool Win32Platform::IsIconic(seam::Handle window) { return ::IsIconic(H(window)) != FALSE; }

void Win32Platform::MakeTopMost(seam::Handle window) {
    SetWindowPos(H(window), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

seam::Rect Win32Platform::WindowRect(seam::Handle window) {
    RECT r{};
    GetWindowRect(H(window), &r);
    return {r.left, r.top, r.right, r.bottom};
}

seam::Rect Win32Platform::ClientRect(seam::Handle window) {
    RECT r{};
    GetClientRect(H(window), &r);
    return {r.left, r.top, r.right, r.bottom};
}

seam::Rect Win32Platform::WorkAreaOf(seam::Handle window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(H(window), MONITOR_DEFAULTTONEAREST), &info);
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

void Win32Platform::MoveWindowTo(seam::Handle window, int x, int y) {
    SetWindowPos(H(window), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::intptr_t Win32Platform::Send(seam::Handle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return SendMessageW(H(window), message, wParam, lParam);
}

bool Win32Platform::Post(seam::Handle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return PostMessageW(H(window), message, wParam, lParam) != FALSE;
}

int Win32Platform::MessageBox(seam::Handle owner, const std::string& textUtf8, const std::string& captionUtf8,
                              unsigned flags) {
    return MessageBoxW(H(owner), Wide(textUtf8).c_str(), Wide(captionUtf8).c_str(), flags);
}

void Win32Platform::ComboReset(seam::Handle dialog, int id) { SendDlgItemMessageW(H(dialog), id, CB_RESETCONTENT, 0, 0); }

void Win32Platform::ComboRedraw(seam::Handle dialog, int id, bool on) {
    SendDlgItemMessageW(H(dialog), id, WM_SETREDRAW, on ? TRUE : FALSE, 0);
    if (on) InvalidateRect(GetDlgItem(H(dialog), id), nullptr, TRUE);
}

int Win32Platform::ComboAdd(seam::Handle dialog, int id, const std::string& utf8) {
    const std::wstring text = Wide(utf8);
    return static_cast<int>(SendDlgItemMessageW(H(dialog), id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void Win32Platform::ComboSelect(seam::Handle dialog, int id, int position) {
    SendDlgItemMessageW(H(dialog), id, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

int Win32Platform::ComboSelection(seam::Handle dialog, int id) {
    return static_cast<int>(SendDlgItemMessageW(H(dialog), id, CB_GETCURSEL, 0, 0));
}

seam::Handle Win32Platform::LoadAppIcon(int id) { return S(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id))); }

std::string Win32Platform::LoadAppString(int id) {
    wchar_t text[256];
    const int n = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id), text, 256);
    return Utf8(text, n);
}

void Win32Platform::SetIcons(seam::Handle window, seam::Handle icon) {
    SendMessageW(H(window), WM_SETICON, ICON_BIG, static_cast<LPARAM>(icon));
    SendMessageW(H(window), WM_SETICON, ICON_SMALL, static_cast<LPARAM>(icon));
}

seam::Handle Win32Platform::SystemMenu(seam::Handle window) { return S(GetSystemMenu(H(window), FALSE)); }
void Win32Platform::AppendMenuSeparator(seam::Handle menu) {
    AppendMenuW(reinterpret_cast<HMENU>(menu), MF_SEPARATOR, 0, nullptr);
}
void Win32Platform::AppendMenuItem(seam::Handle menu, unsigned id, const std::string& utf8) {
    AppendMenuW(reinterpret_cast<HMENU>(menu), MF_STRING, id, Wide(utf8).c_str());
}

seam::Handle Win32Platform::BeginPaint(seam::Handle window) { return S(::BeginPaint(H(window), &m_paint)); }
void Win32Platform::EndPaint(seam::Handle window) { ::EndPaint(H(window), &m_paint); }
void Win32Platform::DrawIcon(seam::Handle dc, int x, int y, seam::Handle icon) {
    ::DrawIcon(reinterpret_cast<HDC>(dc), x, y, reinterpret_cast<HICON>(icon));
}
int Win32Platform::IconWidth() { return GetSystemMetrics(SM_CXICON); }
int Win32Platform::IconHeight() { return GetSystemMetrics(SM_CYICON); }

void Win32Platform::ShowHelp(seam::Handle window, const std::string& helpFile, unsigned context) {
    WinHelpA(H(window), helpFile.c_str(), HELP_CONTEXT, context);
}

void Win32Platform::Trace(const std::string&) {}
