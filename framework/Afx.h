// A small application framework in the manner of the classic Windows one: an application object, windows
// with handles, dialogs with data exchange and message maps, and the standard warning box. Only what the
// program uses. Portable: every system call goes through the seam.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Entry.h"
#include "seam/Platform.h"

using BOOL = int;
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
using UINT = unsigned;
using HWND = seam::Handle;
using HICON = seam::Handle;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Command and control identifiers with the system's values.
#ifndef IDOK
#define IDOK 1
#define IDCANCEL 2
#endif
constexpr UINT ID_HELP = 0xE146;

// Window messages and notifications the framework and the program handle, with the system's values.
namespace wm {
constexpr UINT InitDialog = 0x0110;
constexpr UINT Command = 0x0111;
constexpr UINT SysCommand = 0x0112;
constexpr UINT Paint = 0x000F;
constexpr UINT QueryDragIcon = 0x0037;
constexpr UINT IconEraseBkgnd = 0x0027;
constexpr UINT Help = 0x0053;
constexpr UINT SetCursor = 0x0020;
constexpr UINT SetDefId = 0x0401;  // DM_SETDEFID
constexpr UINT BnClicked = 0;
constexpr UINT CbnSelChange = 1;
}  // namespace wm

constexpr UINT LoWord(std::uintptr_t v) { return static_cast<UINT>(v & 0xFFFF); }
constexpr UINT HiWord(std::uintptr_t v) { return static_cast<UINT>((v >> 16) & 0xFFFF); }

// A window: a handle and the operations the program applies to it.
class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    void SetWindowText(const std::string& utf8) const;
    std::string GetWindowText() const;
    void EnableWindow(BOOL enable) const;
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    CWnd GetDlgItem(int id) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    HWND m_hWnd = 0;
};

class CButton : public CWnd {};
class CStatic : public CWnd {};

// Binds the controls of an open dialog to their wrappers.
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog;

// Message maps: a static table per dialog class of the messages it handles, chained to its base class.
struct MessageMapEntry {
    UINT message;
    UINT code;  // notification code, for command messages from controls
    int id;     // control id, for command messages from controls
    // Calls the handler; returns true when the message was handled.
    bool (*handle)(CDialog& dialog, WPARAM wParam, LPARAM lParam, LRESULT* result);
};
struct MessageMap {
    const MessageMap* base;
    const MessageMapEntry* entries;  // ends with an entry without a handler
};

namespace msgmap {
template <class T>
bool SysCommand(CDialog& d, WPARAM w, LPARAM l, LRESULT*) { return static_cast<T&>(d).OnSysCommand(static_cast<UINT>(w), l); }
template <class T>
bool Paint(CDialog& d, WPARAM, LPARAM, LRESULT*) { return static_cast<T&>(d).OnPaint(); }
template <class T>
bool QueryDragIcon(CDialog& d, WPARAM, LPARAM, LRESULT* r) {
    *r = static_cast<LRESULT>(static_cast<T&>(d).OnQueryDragIcon());
    return true;
}
template <class T, void (T::*Handler)()>
bool Command(CDialog& d, WPARAM, LPARAM, LRESULT* r) {
    (static_cast<T&>(d).*Handler)();
    *r = 0;
    return true;
}
}  // namespace msgmap

#define DECLARE_MESSAGE_MAP()           \
protected:                              \
    static const MessageMap messageMap; \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                    \
    namespace msgmap_##theClass {                                                                 \
    using ThisClass = theClass;                                                                   \
    extern const MessageMapEntry entries[];                                                       \
    }                                                                                             \
    const MessageMap theClass::messageMap = {&baseClass::messageMap, msgmap_##theClass::entries}; \
    const MessageMap* theClass::GetMessageMap() const { return &messageMap; }                     \
    namespace msgmap_##theClass {                                                                 \
    const MessageMapEntry entries[] = {
#define ON_WM_SYSCOMMAND() {wm::SysCommand, 0, 0, &msgmap::SysCommand<ThisClass>},
#define ON_WM_PAINT() {wm::Paint, 0, 0, &msgmap::Paint<ThisClass>},
#define ON_WM_QUERYDRAGICON() {wm::QueryDragIcon, 0, 0, &msgmap::QueryDragIcon<ThisClass>},
#define ON_CBN_SELCHANGE(id, handler) \
    {wm::Command, wm::CbnSelChange, id, &msgmap::Command<ThisClass, &ThisClass::handler>},
#define END_MESSAGE_MAP() \
    {0, 0, 0, nullptr}};  \
    }

// A modal dialog built from a dialog template in the program's resources.
class CDialog : public CWnd, private seam::Platform::DialogSink {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    virtual int DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void CenterWindow();

    UINT TemplateId() const { return m_nIDTemplate; }

    // Routes one window message: the message map first, then the framework's own handling.
    bool OnDialogMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual const MessageMap* GetMessageMap() const { return &messageMap; }
    static const MessageMap messageMap;

private:
    CWnd* Owner() const;
    LRESULT HandleInitDialog();
    bool HandleCommand(UINT id, UINT code);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};

// The application object: one per process, constructed before the entry point runs.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();

    virtual BOOL InitInstance() { return FALSE; }
    // Runs the command table; false when the command is not in it.
    virtual bool OnCmdMsg(UINT id);
    void OnHelp();
    void Enable3dControlsStatic() {}  // three-dimensional controls are the system's own on Windows 4.0 and later

    std::string m_pszAppName;
    std::string m_pszHelpFilePath;
    CWnd* m_pMainWnd = nullptr;
    CDialog* m_pActiveDialog = nullptr;  // the innermost dialog running, for help contexts
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
void AfxEnableControlContainer();  // the program hosts no embedded controls
int AfxMessageBox(const std::string& text, UINT type = seam::mb::Ok);


// Where a window of the given rectangle goes when centred over another (or, with none, in the work area),
// kept inside the work area.
struct Point {
    int x = 0, y = 0;
};
Point CenteredPosition(const seam::Rect& window, const seam::Rect* over, const seam::Rect& workArea);

// The application name the framework derives from the executable's path: file name without folder and
// extension.
std::string AppNameFromPath(const std::string& modulePath);
