#include "framework/Afx.h"

#include <algorithm>

using seam::Sys;

// ---- Windows and controls

void CWnd::SetWindowText(const std::string& utf8) const { Sys().SetText(m_hWnd, utf8); }
std::string CWnd::GetWindowText() const { return Sys().GetText(m_hWnd); }
void CWnd::EnableWindow(BOOL enable) const { Sys().EnableWindow(m_hWnd, enable != FALSE); }
BOOL CWnd::IsWindowEnabled() const { return Sys().IsWindowEnabled(m_hWnd) ? TRUE : FALSE; }
BOOL CWnd::IsIconic() const { return Sys().IsIconic(m_hWnd) ? TRUE : FALSE; }
CWnd CWnd::GetDlgItem(int id) const { return CWnd(Sys().DialogItem(m_hWnd, id)); }
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return Sys().Send(m_hWnd, message, wParam, lParam);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd == 0) control.m_hWnd = Sys().DialogItem(pDX->m_pDlgWnd->m_hWnd, id);
}

// ---- The application object

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

bool CWinApp::OnCmdMsg(UINT) { return false; }

void CWinApp::OnHelp() {
    // The help topic of a dialog is its template number above the resource help base.
    constexpr unsigned kResourceHelpBase = 0x20000;
    CWnd* window = m_pActiveDialog ? m_pActiveDialog : m_pMainWnd;
    const unsigned context = kResourceHelpBase + (m_pActiveDialog ? m_pActiveDialog->TemplateId() : 0);
    Sys().ShowHelp(window ? window->m_hWnd : 0, m_pszHelpFilePath, context);
}

CWinApp* AfxGetApp() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }
void AfxEnableControlContainer() {}

int AfxMessageBox(const std::string& text, UINT type) {
    // The standard warning box: owned by the main window (also while it is still hidden), captioned with
    // the application name, an exclamation icon unless the caller chose one.
    constexpr UINT kIconMask = 0x00F0;
    if ((type & kIconMask) == 0) type |= seam::mb::IconExclamation;
    CWnd* main = AfxGetMainWnd();
    const std::string caption = g_app ? g_app->m_pszAppName : std::string();
    return Sys().MessageBox(main ? main->m_hWnd : 0, text, caption, type);
}

std::string AppNameFromPath(const std::string& modulePath) {
    std::string name = modulePath;
    const auto slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    const std::string modulePath = Sys().ModuleFileName();
    app->m_pszAppName = AppNameFromPath(modulePath);
    std::string helpPath = modulePath;
    const auto dot = helpPath.rfind('.');
    const auto slash = helpPath.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) helpPath.erase(dot);
    app->m_pszHelpFilePath = helpPath + ".HLP";
    // The program's initialisation runs its dialog and returns false: the process ends here, with no
    // message loop of the program's own.
    app->InitInstance();
    return 0;
}

Point CenteredPosition(const seam::Rect& window, const seam::Rect* over, const seam::Rect& workArea) {
    const seam::Rect& centre = over ? *over : workArea;
    int x = centre.left + (centre.Width() - window.Width()) / 2;
    int y = centre.top + (centre.Height() - window.Height()) / 2;
    // Keep the whole window inside the work area; a window larger than it keeps its top left corner there.
    x = std::max(workArea.left, std::min(x, workArea.right - window.Width()));
    y = std::max(workArea.top, std::min(y, workArea.bottom - window.Height()));
    return {x, y};
}
