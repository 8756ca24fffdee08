#include "framework/Afx.h"

using seam::Sys;

const MessageMap CDialog::messageMap = {nullptr, nullptr};

CWnd* CDialog::Owner() const {
    // A dialog without a parent is owned by the main window, unless it is the main window.
    if (m_pParentWnd) return m_pParentWnd;
    CWnd* main = AfxGetMainWnd();
    return main != this ? main : nullptr;
}

int CDialog::DoModal() {
    CWnd* ownerWnd = Owner();
    const HWND owner = ownerWnd ? ownerWnd->m_hWnd : 0;
    CWinApp* app = AfxGetApp();
    CDialog* outer = app ? app->m_pActiveDialog : nullptr;
    if (app) app->m_pActiveDialog = this;
    const int result = Sys().RunModalDialog(static_cast<int>(m_nIDTemplate), owner, *this);
    if (app) app->m_pActiveDialog = outer;
    m_hWnd = 0;
    return result;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result) { Sys().EndModalDialog(m_hWnd, result); }

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::CenterWindow() {
    const seam::Rect window = Sys().WindowRect(m_hWnd);
    const seam::Rect work = Sys().WorkAreaOf(m_hWnd);
    // Centre over the owner when it is on screen and not minimised, else in the work area.
    seam::Rect ownerRect;
    const seam::Rect* over = nullptr;
    if (CWnd* owner = Owner();
        owner && owner->m_hWnd && Sys().IsWindowVisible(owner->m_hWnd) && !Sys().IsIconic(owner->m_hWnd)) {
        ownerRect = Sys().WindowRect(owner->m_hWnd);
        over = &ownerRect;
    }
    const Point p = CenteredPosition(window, over, work);
    Sys().MoveWindowTo(m_hWnd, p.x, p.y);
}

LRESULT CDialog::HandleInitDialog() {
    const seam::Rect before = Sys().WindowRect(m_hWnd);
    const BOOL result = OnInitDialog();
    // Like the system's own dialog support: a dialog its preparation neither moved nor showed is centred.
    if (!Sys().IsWindowVisible(m_hWnd) && Sys().WindowRect(m_hWnd) == before) CenterWindow();
    return result;
}

bool CDialog::HandleCommand(UINT id, UINT code) {
    if (code != wm::BnClicked) return false;
    switch (id) {
        case IDOK: OnOK(); return true;
        case IDCANCEL: OnCancel(); return true;
        default: {
            CWinApp* app = AfxGetApp();
            return app && app->OnCmdMsg(id);
        }
    }
}

bool CDialog::OnDialogMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    *result = 0;
    if (message == wm::InitDialog) {
        m_hWnd = window;
        *result = HandleInitDialog();
        return true;
    }
    for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
        for (const MessageMapEntry* e = map->entries; e && e->handle; ++e) {
            if (e->message != message) continue;
            if (message == wm::Command && (LoWord(wParam) != static_cast<UINT>(e->id) || HiWord(wParam) != e->code))
                continue;
            return e->handle(*this, wParam, lParam, result);
        }
    }
    switch (message) {
        case wm::Command:
            return HandleCommand(LoWord(wParam), HiWord(wParam));
        case wm::Help:
            // F1 asks for the help command.
            Sys().Post(m_hWnd, wm::Command, ID_HELP, 0);
            *result = TRUE;
            return true;
        default:
            return false;
    }
}
