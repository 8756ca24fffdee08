#include "app/ComPortDlg.h"

#include <cstring>

#include "framework/Trace.h"
#include "portsetup/SetupCommands.h"
#include "settings/Texts.h"

using seam::Sys;

CComPortDlg::CComPortDlg(CWnd* parent) : CDialog(IDD_COMPORT_DIALOG, parent) {
    m_hIcon = Sys().LoadAppIcon(IDR_MAINFRAME);
}

void CComPortDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDCANCEL, m_btnExit);
    DDX_Control(pDX, IDOK, m_btnChange);
    DDX_Control(pDX, IDC_TYPE_LABEL, m_stcPrinterType);
    DDX_Control(pDX, IDC_PORT_LABEL, m_stcPort);
}

// clang-format off
BEGIN_MESSAGE_MAP(CComPortDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_CBN_SELCHANGE(IDC_PORT_LIST, OnSelchangePort)
END_MESSAGE_MAP()
// clang-format on

std::string ExecutableFolder(const std::string& modulePath) {
    std::size_t lastBackslash = std::string::npos;
    for (std::size_t i = 0; i < modulePath.size(); ++i) {
        const auto byte = static_cast<unsigned char>(modulePath[i]);
        if (byte == '\\') {
            lastBackslash = i;
        } else if (Sys().IsLeadByte(byte) && i + 1 < modulePath.size()) {
            ++i;  // the trail byte of a double-byte character is never a separator
        }
    }
    return lastBackslash == std::string::npos ? std::string() : modulePath.substr(0, lastBackslash);
}

BOOL CComPortDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    AddAboutEntry();

    Sys().SetIcons(m_hWnd, m_hIcon);

    // Every relative path of the program (the settings file, the capture file) lives in its own folder.
    Sys().SetCurrentFolder(ExecutableFolder(Sys().ModuleFileName()));

    g_wLangID = Sys().SystemDefaultLangId();
    ResetOutputFile();

    TraceOut("CComPortDlg::OnInitDialog()");
    TraceOut("m_hWnd=%#x", static_cast<unsigned>(m_hWnd));

    Sys().MakeTopMost(m_hWnd);

    QueryUsedPorts();
    QueryCurrentPort();

    FillLists();

    ApplyKoreanCaptions();

    // Both buttons carry the default-button style; the focus starts on Change, and so does the default
    // button: Enter applies the selections as they were filled. (Windows makes the focused push button the
    // default on its own; saying so keeps every dialog manager to it.)
    SendMessage(wm::SetDefId, IDOK, 0);

    return TRUE;
}

void CComPortDlg::OnCancel() {
    if (m_bApplying) return;  // a change has begun; there is no cancelling it halfway
    CDialog::OnCancel();
}
