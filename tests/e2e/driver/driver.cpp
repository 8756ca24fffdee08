// Drives a Windows program for the end-to-end tests, the way a person would: starts it with a given
// current directory, then carries out the steps named on its own command line, one after the other, and
// prints what it sees as JSON lines (UTF-8) on stdout for the Python harness to parse.
//
//   ravelix_driver.exe [--timeout MS] [--poll MS] [--args TEXT] EXE CWD STEP...
//
// Every step that waits is bounded by --timeout (default 5000 ms). The waits for a dialog look for it
// every --poll ms (default 20; the start-up figures use 2). A step that runs out of time, or that
// cannot be carried out, prints {"event":"fail",...}, ends the launched process and makes the driver exit
// with 1. At the end a program still running is ended too, so nothing is left behind.
//
// Steps (numbers are decimal or 0x-hex):
//   wait-dialog[:CAPTION]  a visible top-level dialog (#32770) of the process, with exactly that caption if
//                          one is given; it becomes the current window
//   wait-msgbox            a visible dialog of the process not seen before (a message box); prints it and
//                          makes it the current window
//   press[:ID]             clicks button ID (default IDOK, else the first button) of the current window and
//                          waits until that window is gone (or a new dialog is up)
//   msgbox[:ID]            wait-msgbox, then press[:ID]
//   dump                   prints the current window and each of its controls
//   select:ID:INDEX        selects entry INDEX of combo box ID and notifies the dialog (CBN_SELCHANGE)
//   click:ID               BM_CLICK on button ID of the current window
//   command:ID             WM_COMMAND (ID, BN_CLICKED) to the current window
//   syscommand:ID          WM_SYSCOMMAND with wParam ID to the current window
//   key:VK                 WM_KEYDOWN/WM_KEYUP (VK a number or F1..F12, ESCAPE, RETURN, TAB, SPACE) to the
//                          focused control, else the current window
//   windows                prints every top-level window of the process
//   screenshot:PATH        saves the current window as it is on screen, a 24-bit .bmp
//   sleep:MS               waits MS milliseconds
//   wait-idle              waits until the process waits for input (WaitForInputIdle)
//   wait-exit              waits until the process ends and prints its exit code
//   move:X:Y               moves the current window's top left corner to screen point X,Y (as a user dragging
//                          it would), keeping its size and z-order
//   copy:SRC|DST           copies file SRC, as it is at that moment, to DST (to look at it after the run);
//                          a missing SRC is reported ("exists":false) and any older DST removed, not a failure
//   memory                 prints the process's memory counters (GetProcessMemoryInfo): peak and current
//                          working set, peak and current pagefile (private) bytes
//
// click, command, select and syscommand send their message so that the program handles it as it would a
// user's action, and then wait until the program's handler has returned, a new dialog of the process has
// appeared (a message box the handler is showing), or the process has ended; the printed "outcome" says
// which ("returned", "dialog", "exited").
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------------------
// Output: one JSON object per line.

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string Quote(const std::wstring& text) { return Quote(Utf8(text)); }

std::string Hex(std::uintptr_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "\"0x%llx\"", static_cast<unsigned long long>(value));
    return buffer;
}

std::string HandleText(HWND hwnd) { return Hex(reinterpret_cast<std::uintptr_t>(hwnd)); }

std::string RectText(const RECT& r) {
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + "]";
}

// Builds one JSON object: Json().Add("event", Quote("x")).Add("n", "1").Text().
class Json {
public:
    Json& Add(const char* key, const std::string& rawValue) {
        body_ += body_.empty() ? "" : ",";
        body_ += Quote(std::string(key)) + ":" + rawValue;
        return *this;
    }
    Json& Add(const char* key, long long value) { return Add(key, std::to_string(value)); }
    Json& Add(const char* key, bool value) { return Add(key, std::string(value ? "true" : "false")); }
    Json& Str(const char* key, const std::wstring& value) { return Add(key, Quote(value)); }
    Json& Str(const char* key, const char* value) { return Add(key, Quote(std::string(value))); }
    std::string Text() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

void Emit(const std::string& line) {
    std::string out = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// The launched process and what the driver knows of it.

struct Target {
    PROCESS_INFORMATION process{};
    ULONGLONG startTick = 0;
    DWORD timeoutMs = 5000;
    DWORD pollMs = 20;        // how often the waits for a dialog look (--poll)
    std::vector<HWND> found;  // dialogs and message boxes found by waiting steps, oldest first
} g;

long long Elapsed() { return static_cast<long long>(GetTickCount64() - g.startTick); }

bool Exited() { return WaitForSingleObject(g.process.hProcess, 0) == WAIT_OBJECT_0; }

struct Failure {
    std::string reason;
};

// The window the steps act on: the most recently found one that still exists.
HWND Current() {
    for (auto it = g.found.rbegin(); it != g.found.rend(); ++it) {
        if (IsWindow(*it)) return *it;
    }
    throw Failure{"no window of the program to act on (no dialog found yet, or all found ones are gone)"};
}

HWND MainWindow() { return g.found.empty() ? nullptr : g.found.front(); }

bool IsFound(HWND hwnd) {
    for (HWND h : g.found) {
        if (h == hwnd) return true;
    }
    return false;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = L"";
    GetClassNameW(hwnd, name, 256);
    return name;
}

// Reads a window's text through WM_GETTEXT (wide), bounded.
std::wstring TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 2000, &length)) {
        throw Failure{"window did not answer WM_GETTEXTLENGTH within 2000 ms"};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_NORMAL, 2000, &copied)) {
        throw Failure{"window did not answer WM_GETTEXT within 2000 ms"};
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

LRESULT Ask(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL, 2000, &result)) {
        char text[96];
        std::snprintf(text, sizeof text, "window did not answer message 0x%x within 2000 ms (error %lu)", msg,
                      GetLastError());
        throw Failure{text};
    }
    return static_cast<LRESULT>(result);
}

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid) search->windows.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindows() {
    WindowSearch search{g.process.dwProcessId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::vector<HWND> VisibleDialogs() {
    std::vector<HWND> dialogs;
    for (HWND hwnd : TopLevelWindows()) {
        if (IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770") dialogs.push_back(hwnd);
    }
    return dialogs;
}

HWND NewDialog() {
    for (HWND hwnd : VisibleDialogs()) {
        if (!IsFound(hwnd)) return hwnd;
    }
    return nullptr;
}

std::string WindowList() {
    std::string out = "[";
    for (HWND hwnd : TopLevelWindows()) {
        wchar_t caption[512] = L"";
        GetWindowTextW(hwnd, caption, 512);
        out += (out.size() > 1 ? "," : "") + Json()
                                                  .Add("hwnd", HandleText(hwnd))
                                                  .Str("class", ClassOf(hwnd))
                                                  .Str("caption", caption)
                                                  .Add("visible", IsWindowVisible(hwnd) != FALSE)
                                                  .Text();
    }
    return out + "]";
}

// Sleeps a little while handling the driver's own messages (SendMessageCallback results arrive so).
void Pump(DWORD ms) {
    MsgWaitForMultipleObjects(1, &g.process.hProcess, FALSE, ms, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Waits until the program answers messages again (it is running its message loop).
void Sync(HWND hwnd) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, g.timeoutMs, &ignored) && !Exited()) {
        throw Failure{"the program did not answer messages within " + std::to_string(g.timeoutMs) + " ms"};
    }
}

// ---------------------------------------------------------------------------------------------------------
// Sending a user's action and waiting for its outcome.

int g_pending = 0;  // messages sent whose handler has not returned yet

void CALLBACK Answered(HWND, UINT, ULONG_PTR, LRESULT) { --g_pending; }

void SendAction(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!SendMessageCallbackW(hwnd, msg, wp, lp, Answered, 0)) {
        throw Failure{"SendMessageCallback failed, error " + std::to_string(GetLastError())};
    }
    ++g_pending;
}

// Waits until every sent action's handler has returned, a new dialog of the process is up, or the process
// has ended.
const char* Settle() {
    ULONGLONG deadline = GetTickCount64() + g.timeoutMs;
    for (;;) {
        Pump(0);
        if (g_pending == 0) return "returned";
        if (Exited()) return "exited";
        if (NewDialog()) return "dialog";
        if (GetTickCount64() >= deadline) {
            throw Failure{"the program's handler did not return, and no new dialog appeared, within " +
                          std::to_string(g.timeoutMs) + " ms"};
        }
        Pump(10);
    }
}

HWND Control(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) throw Failure{"the current window has no control with id " + std::to_string(id)};
    return control;
}

// ---------------------------------------------------------------------------------------------------------
// Observations.

std::string ControlJson(HWND control) {
    Json j;
    std::wstring cls = ClassOf(control);
    LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT r{};
    GetWindowRect(control, &r);
    j.Add("id", static_cast<long long>(GetDlgCtrlID(control)))
        .Str("class", cls)
        .Str("text", TextOf(control))
        .Add("enabled", IsWindowEnabled(control) != FALSE)
        .Add("visible", IsWindowVisible(control) != FALSE)
        .Add("style", Hex(static_cast<DWORD>(style)))
        .Add("rect", RectText(r));
    if (_wcsicmp(cls.c_str(), L"ComboBox") == 0) {
        LRESULT count = Ask(control, CB_GETCOUNT, 0, 0);
        std::string items = "[";
        for (LRESULT i = 0; i < count; ++i) {
            LRESULT length = Ask(control, CB_GETLBTEXTLEN, i, 0);
            std::wstring item(length < 0 ? 1 : static_cast<size_t>(length) + 1, L'\0');
            // Plain SendMessageW here: Wine marshals CB_GETLBTEXT's buffer between processes this way.
            SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            item.resize(wcsnlen(item.c_str(), item.size()));
            items += (i ? "," : "") + Quote(item);
        }
        j.Add("items", items + "]").Add("sel", static_cast<long long>(Ask(control, CB_GETCURSEL, 0, 0)));
    }
    return j.Text();
}

Json WindowJson(const char* event, HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
    HWND owner = GetWindow(hwnd, GW_OWNER);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &gui);

    std::string controls = "[";
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        controls += (controls.size() > 1 ? "," : "") + ControlJson(child);
    }
    controls += "]";

    Json j;
    j.Str("event", event)
        .Add("hwnd", HandleText(hwnd))
        .Str("class", ClassOf(hwnd))
        .Str("caption", TextOf(hwnd))
        .Add("visible", IsWindowVisible(hwnd) != FALSE)
        .Add("enabled", IsWindowEnabled(hwnd) != FALSE)
        .Add("toplevel", GetAncestor(hwnd, GA_PARENT) == GetDesktopWindow())
        .Add("style", Hex(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE))))
        .Add("exstyle", Hex(static_cast<DWORD>(exStyle)))
        .Add("topmost", (exStyle & WS_EX_TOPMOST) != 0)
        .Add("appwindow", (exStyle & WS_EX_APPWINDOW) != 0)
        .Add("rect", RectText(r))
        .Add("workarea", RectText(monitor.rcWork))
        .Add("owner", HandleText(owner))
        .Str("owner_caption", owner ? TextOf(owner) : std::wstring())
        .Add("owner_is_main", owner != nullptr && owner == MainWindow())
        .Add("active", gui.hwndActive == hwnd)
        .Add("foreground", GetForegroundWindow() == hwnd)
        .Add("focus", static_cast<long long>(gui.hwndFocus && IsChild(hwnd, gui.hwndFocus)
                                                 ? GetDlgCtrlID(gui.hwndFocus)
                                                 : 0))
        .Add("controls", controls);
    return j;
}

// Saves the window's screen area as a bottom-up 24-bit .bmp.
std::string Screenshot(HWND hwnd, const std::wstring& path) {
    // Let the program paint everything that is pending before the pixels are read.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    Sync(hwnd);
    ULONGLONG deadline = GetTickCount64() + g.timeoutMs;
    for (;;) {
        bool pending = GetUpdateRect(hwnd, nullptr, FALSE) != FALSE;
        for (HWND c = GetWindow(hwnd, GW_CHILD); c && !pending; c = GetWindow(c, GW_HWNDNEXT)) {
            pending = GetUpdateRect(c, nullptr, FALSE) != FALSE;
        }
        if (!pending) break;
        if (GetTickCount64() >= deadline) throw Failure{"the window did not finish painting in time"};
        Sleep(10);
    }
    Sync(hwnd);
    Sleep(150);  // the X server gets the last painted pixels shortly after painting ends

    RECT r{};
    GetWindowRect(hwnd, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) throw Failure{"the window has no area to take a picture of"};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as .bmp files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        throw Failure{"CreateDIBSection failed"};
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    BOOL copied = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    SelectObject(memory, old);

    DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;

    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    bool ok = copied && out != INVALID_HANDLE_VALUE;
    if (out != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ok = ok && WriteFile(out, &file, sizeof file, &written, nullptr);
        ok = ok && WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
        ok = ok && WriteFile(out, bits, imageSize, &written, nullptr);
        CloseHandle(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!ok) throw Failure{"could not copy the screen into " + Utf8(path)};
    return Json()
        .Str("event", "screenshot")
        .Str("path", path)
        .Add("width", static_cast<long long>(width))
        .Add("height", static_cast<long long>(height))
        .Add("t", Elapsed())
        .Text();
}

// ---------------------------------------------------------------------------------------------------------
// Steps.

long long Number(const std::wstring& text, const std::wstring& step) {
    if (!text.empty()) {
        wchar_t* end = nullptr;
        long long value = std::wcstoll(text.c_str(), &end, 0);
        if (end && *end == L'\0') return value;
    }
    throw Failure{"step " + Utf8(step) + ": \"" + Utf8(text) + "\" is not a number"};
}

UINT VirtualKey(const std::wstring& name, const std::wstring& step) {
    struct Named {
        const wchar_t* name;
        UINT key;
    };
    static const Named keys[] = {{L"ESCAPE", VK_ESCAPE}, {L"RETURN", VK_RETURN}, {L"TAB", VK_TAB},
                                 {L"SPACE", VK_SPACE},   {L"UP", VK_UP},         {L"DOWN", VK_DOWN}};
    for (const Named& k : keys) {
        if (_wcsicmp(name.c_str(), k.name) == 0) return k.key;
    }
    if (name.size() >= 2 && (name[0] == L'F' || name[0] == L'f') && iswdigit(name[1])) {
        long long n = Number(name.substr(1), step);
        if (n >= 1 && n <= 24) return static_cast<UINT>(VK_F1 + n - 1);
    }
    return static_cast<UINT>(Number(name, step));
}

HWND WaitFor(const std::wstring& what, bool (*match)(HWND, const std::wstring&), const std::wstring& arg) {
    ULONGLONG deadline = GetTickCount64() + g.timeoutMs;
    for (;;) {
        for (HWND hwnd : VisibleDialogs()) {
            if (match(hwnd, arg)) {
                Sync(hwnd);
                return hwnd;
            }
        }
        if (Exited()) {
            DWORD code = 0;
            GetExitCodeProcess(g.process.hProcess, &code);
            throw Failure{"the program ended (exit code " + std::to_string(code) + ") before " + Utf8(what) +
                          " appeared"};
        }
        if (GetTickCount64() >= deadline) {
            throw Failure{"no " + Utf8(what) + " within " + std::to_string(g.timeoutMs) + " ms"};
        }
        Pump(g.pollMs);
    }
}

void WaitMsgBox() {
    HWND box = WaitFor(L"new dialog (message box) of the program",
                       [](HWND hwnd, const std::wstring&) { return !IsFound(hwnd); }, L"");
    g.found.push_back(box);
    HWND textControl = GetDlgItem(box, 0xFFFF);
    std::string buttons = "[";
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (_wcsicmp(ClassOf(c).c_str(), L"Button") != 0) continue;
        buttons += (buttons.size() > 1 ? "," : "") +
                   Json().Add("id", static_cast<long long>(GetDlgCtrlID(c))).Str("text", TextOf(c)).Text();
    }
    Emit(WindowJson("msgbox", box)
             .Str("text", textControl ? TextOf(textControl) : std::wstring())
             .Add("buttons", buttons + "]")
             .Add("t", Elapsed())
             .Text());
}

void Press(const std::wstring& arg, const std::wstring& step) {
    HWND window = Current();
    HWND button = nullptr;
    if (!arg.empty()) {
        button = Control(window, static_cast<int>(Number(arg, step)));
    } else {
        button = GetDlgItem(window, IDOK);
        for (HWND c = GetWindow(window, GW_CHILD); c && !button; c = GetWindow(c, GW_HWNDNEXT)) {
            if (_wcsicmp(ClassOf(c).c_str(), L"Button") == 0) button = c;
        }
        if (!button) throw Failure{"the current window has no button to press"};
    }
    int id = GetDlgCtrlID(button);
    SendAction(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    ULONGLONG deadline = GetTickCount64() + g.timeoutMs;
    while (IsWindow(window) && IsWindowVisible(window) && !Exited() && !NewDialog()) {
        if (GetTickCount64() >= deadline) {
            throw Failure{"the window stayed open " + std::to_string(g.timeoutMs) + " ms after button " +
                          std::to_string(id) + " was pressed"};
        }
        Pump(10);
    }
    const char* outcome = Settle();
    Emit(Json()
             .Str("event", "pressed")
             .Add("id", static_cast<long long>(id))
             .Str("outcome", outcome)
             .Add("t", Elapsed())
             .Text());
}

void Act(const std::wstring& step, const std::wstring& name, const std::wstring& arg) {
    HWND window = Current();
    Json j;
    if (name == L"click" || name == L"command") {
        int id = static_cast<int>(Number(arg, step));
        HWND button = Control(window, id);
        if (name == L"click") {
            SendAction(button, BM_CLICK, 0, 0);
        } else {
            SendAction(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        }
        j.Str("event", name == L"click" ? "clicked" : "commanded").Add("id", static_cast<long long>(id));
    } else if (name == L"select") {
        size_t colon = arg.find(L':');
        if (colon == std::wstring::npos) throw Failure{"step " + Utf8(step) + ": use select:ID:INDEX"};
        int id = static_cast<int>(Number(arg.substr(0, colon), step));
        long long index = Number(arg.substr(colon + 1), step);
        HWND combo = Control(window, id);
        LRESULT sel = Ask(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        if (sel == CB_ERR && index >= 0) {
            throw Failure{"combo box " + std::to_string(id) + " has no entry " + std::to_string(index)};
        }
        SendAction(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        j.Str("event", "selected").Add("id", static_cast<long long>(id)).Add("index", index);
    } else {  // syscommand
        long long id = Number(arg, step);
        SendAction(window, WM_SYSCOMMAND, static_cast<WPARAM>(id), 0);
        j.Str("event", "syscommand").Add("id", id);
    }
    j.Str("outcome", Settle());
    Emit(j.Add("t", Elapsed()).Text());
}

void Key(const std::wstring& arg, const std::wstring& step) {
    HWND window = Current();
    UINT vk = VirtualKey(arg, step);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    HWND target = gui.hwndFocus ? gui.hwndFocus : window;
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | (1u << 30) | (1u << 31));
    // Keys are queued input: nothing reports back when they are handled, so give the program a moment,
    // cut short by a new dialog or the end of the process.
    ULONGLONG until = GetTickCount64() + 300;
    while (GetTickCount64() < until && !Exited() && !NewDialog()) Pump(10);
    Emit(Json().Str("event", "key").Add("vk", static_cast<long long>(vk)).Add("t", Elapsed()).Text());
}

void WaitExit() {
    DWORD result = WaitForSingleObject(g.process.hProcess, g.timeoutMs);
    if (result != WAIT_OBJECT_0) {
        throw Failure{"the program did not end within " + std::to_string(g.timeoutMs) + " ms"};
    }
    DWORD code = 0;
    GetExitCodeProcess(g.process.hProcess, &code);
    Emit(Json().Str("event", "exit").Add("code", static_cast<long long>(code)).Add("t", Elapsed()).Text());
}

// The launched process's memory counters, while it still runs (a process that has ended has none).
void Memory() {
    if (Exited()) throw Failure{"the program has ended: its memory counters are gone"};
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(g.process.hProcess, &counters, sizeof counters)) {
        throw Failure{"GetProcessMemoryInfo failed, error " + std::to_string(GetLastError())};
    }
    Emit(Json()
             .Str("event", "memory")
             .Add("peak_working_set", static_cast<long long>(counters.PeakWorkingSetSize))
             .Add("working_set", static_cast<long long>(counters.WorkingSetSize))
             .Add("peak_pagefile", static_cast<long long>(counters.PeakPagefileUsage))
             .Add("pagefile", static_cast<long long>(counters.PagefileUsage))
             .Add("t", Elapsed())
             .Text());
}

void MoveStep(const std::wstring& arg, const std::wstring& step) {
    size_t colon = arg.find(L':');
    if (colon == std::wstring::npos) throw Failure{"step " + Utf8(step) + ": use move:X:Y"};
    HWND window = Current();
    int x = static_cast<int>(Number(arg.substr(0, colon), step));
    int y = static_cast<int>(Number(arg.substr(colon + 1), step));
    if (!SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)) {
        throw Failure{"SetWindowPos failed, error " + std::to_string(GetLastError())};
    }
    Sync(window);
    RECT r{};
    GetWindowRect(window, &r);
    Emit(Json().Str("event", "moved").Add("rect", RectText(r)).Add("t", Elapsed()).Text());
}

void CopyStep(const std::wstring& arg, const std::wstring& step) {
    size_t bar = arg.find(L'|');
    if (bar == std::wstring::npos) throw Failure{"step " + Utf8(step) + ": use copy:SRC|DST"};
    std::wstring source = arg.substr(0, bar), target = arg.substr(bar + 1);
    bool exists = GetFileAttributesW(source.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (exists) {
        if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) {
            throw Failure{"could not copy " + Utf8(source) + ", error " + std::to_string(GetLastError())};
        }
    } else {
        DeleteFileW(target.c_str());
    }
    Emit(Json().Str("event", "copied").Str("source", source).Add("exists", exists).Add("t", Elapsed()).Text());
}

void RunStep(const std::wstring& step) {
    size_t colon = step.find(L':');
    std::wstring name = step.substr(0, colon);
    std::wstring arg = colon == std::wstring::npos ? L"" : step.substr(colon + 1);

    if (name == L"wait-dialog") {
        HWND hwnd = WaitFor(arg.empty() ? L"dialog of the program" : L"dialog \"" + arg + L"\"",
                            [](HWND h, const std::wstring& caption) {
                                if (caption.empty()) return true;
                                wchar_t text[512] = L"";
                                GetWindowTextW(h, text, 512);
                                return caption == text;
                            },
                            arg);
        g.found.push_back(hwnd);  // the current window from now on, even when it was found before
        Emit(Json()
                 .Str("event", "dialog")
                 .Add("hwnd", HandleText(hwnd))
                 .Str("caption", TextOf(hwnd))
                 .Add("t", Elapsed())
                 .Text());
    } else if (name == L"wait-msgbox") {
        WaitMsgBox();
    } else if (name == L"press") {
        Press(arg, step);
    } else if (name == L"msgbox") {
        WaitMsgBox();
        Press(arg, step);
    } else if (name == L"dump") {
        Emit(WindowJson("dump", Current()).Add("t", Elapsed()).Text());
    } else if (name == L"click" || name == L"command" || name == L"select" || name == L"syscommand") {
        Act(step, name, arg);
    } else if (name == L"key") {
        Key(arg, step);
    } else if (name == L"windows") {
        Emit(Json().Str("event", "windows").Add("windows", WindowList()).Add("t", Elapsed()).Text());
    } else if (name == L"screenshot") {
        if (arg.empty()) throw Failure{"use screenshot:PATH"};
        Emit(Screenshot(Current(), arg));
    } else if (name == L"sleep") {
        ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(Number(arg, step));
        while (GetTickCount64() < until) Pump(10);
        Emit(Json().Str("event", "slept").Add("t", Elapsed()).Text());
    } else if (name == L"wait-idle") {
        if (WaitForInputIdle(g.process.hProcess, g.timeoutMs) != 0) {
            throw Failure{"the program did not become idle within " + std::to_string(g.timeoutMs) + " ms"};
        }
        Emit(Json().Str("event", "idle").Add("t", Elapsed()).Text());
    } else if (name == L"wait-exit") {
        WaitExit();
    } else if (name == L"move") {
        MoveStep(arg, step);
    } else if (name == L"copy") {
        CopyStep(arg, step);
    } else if (name == L"memory") {
        Memory();
    } else {
        throw Failure{"unknown step \"" + Utf8(step) + "\""};
    }
}

void EndTarget() {
    if (!g.process.hProcess) return;
    if (!Exited()) {
        TerminateProcess(g.process.hProcess, 255);
        WaitForSingleObject(g.process.hProcess, 5000);
        Emit(Json().Str("event", "end").Add("killed", true).Add("t", Elapsed()).Text());
    } else {
        Emit(Json().Str("event", "end").Add("killed", false).Add("t", Elapsed()).Text());
    }
    CloseHandle(g.process.hThread);
    CloseHandle(g.process.hProcess);
    g.process = PROCESS_INFORMATION{};
}

int Usage(const std::string& reason) {
    Emit(Json().Str("event", "fail").Str("step", "").Str("reason", reason.c_str()).Text());
    std::fputs("usage: ravelix_driver.exe [--timeout MS] [--poll MS] [--args TEXT] EXE CWD STEP...\n", stderr);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring arguments;
    int i = 1;
    for (; i < argc && std::wcsncmp(argv[i], L"--", 2) == 0; i += 2) {
        if (i + 1 >= argc) return Usage("option " + Utf8(argv[i]) + " needs a value");
        std::wstring option = argv[i];
        if (option == L"--timeout") {
            try {
                g.timeoutMs = static_cast<DWORD>(Number(argv[i + 1], option));
            } catch (const Failure& f) {
                return Usage(f.reason);
            }
        } else if (option == L"--poll") {
            try {
                g.pollMs = static_cast<DWORD>(Number(argv[i + 1], option));
            } catch (const Failure& f) {
                return Usage(f.reason);
            }
        } else if (option == L"--args") {
            arguments = argv[i + 1];
        } else {
            return Usage("unknown option " + Utf8(option));
        }
    }
    if (argc - i < 2) return Usage("EXE and CWD are needed");
    std::wstring exe = argv[i], cwd = argv[i + 1];
    std::vector<std::wstring> steps(argv + i + 2, argv + argc);

    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    g.startTick = GetTickCount64();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(),
                        &startup, &g.process)) {
        DWORD error = GetLastError();
        Emit(Json()
                 .Str("event", "fail")
                 .Str("step", "start")
                 .Str("reason", ("CreateProcess failed, error " + std::to_string(error)).c_str())
                 .Text());
        return 1;
    }
    Emit(Json()
             .Str("event", "started")
             .Add("pid", static_cast<long long>(g.process.dwProcessId))
             .Str("exe", exe)
             .Str("cwd", cwd)
             .Add("t", Elapsed())
             .Text());

    int status = 0;
    for (const std::wstring& step : steps) {
        try {
            RunStep(step);
        } catch (const Failure& f) {
            Emit(Json()
                     .Str("event", "fail")
                     .Str("step", step)
                     .Str("reason", f.reason.c_str())
                     .Add("windows", WindowList())
                     .Add("t", Elapsed())
                     .Text());
            status = 1;
            break;
        }
    }
    EndTarget();
    return status;
}
