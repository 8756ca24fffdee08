// The system menu's about entry, the about box, and the icon the minimised dialog paints.
#include "app/AboutDlg.h"

#include "app/ComPortDlg.h"

using seam::Sys;

void CComPortDlg::AddAboutEntry() {
    const seam::Handle menu = Sys().SystemMenu(m_hWnd);
    if (!menu) return;
    const std::string text = Sys().LoadAppString(IDS_ABOUTBOX);
    if (text.empty()) return;
    Sys().AppendMenuSeparator(menu);
    Sys().AppendMenuItem(menu, IDM_ABOUTBOX, text);
}

bool CComPortDlg::OnSysCommand(UINT id, LPARAM) {
    // The system keeps the low four bits of a system command for itself.
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
        return true;
    }
    return false;  // move, size, close and the rest: the system's default processing
}

bool CComPortDlg::OnPaint() {
    if (!IsIconic()) return false;  // the system's default painting
    const seam::Handle dc = Sys().BeginPaint(m_hWnd);
    SendMessage(wm::IconEraseBkgnd, static_cast<WPARAM>(dc), 0);
    const seam::Rect rect = Sys().ClientRect(m_hWnd);
    const int x = (rect.Width() - Sys().IconWidth() + 1) / 2;
    const int y = (rect.Height() - Sys().IconHeight() + 1) / 2;
    Sys().DrawIcon(dc, x, y, m_hIcon);
    Sys().EndPaint(m_hWnd);
    return true;
}

HICON CComPortDlg::OnQueryDragIcon() { return m_hIcon; }
