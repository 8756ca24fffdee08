#include "app/ComPortApp.h"

#include "app/ComPortDlg.h"

CComPortApp theApp;

bool CComPortApp::OnCmdMsg(UINT id) {
    // The command table: help only, to the framework's default help handler.
    if (id == ID_HELP) {
        OnHelp();
        return true;
    }
    return false;
}

BOOL CComPortApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CComPortDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();  // IDOK or IDCANCEL: either way the program ends
    m_pMainWnd = nullptr;

    // No application message loop: the process ends with the dialog.
    return FALSE;
}
