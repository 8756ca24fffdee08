// The main dialog: the port and printer-type lists, the Change and Exit buttons.
#pragma once

#include "framework/Afx.h"
#include "resources/resource.h"

class CComPortDlg : public CDialog {
public:
    explicit CComPortDlg(CWnd* parent = nullptr);
    ~CComPortDlg() override = default;

    // The COM number the virtual port carries now, 1 to 255, or 0 while not learnt.
    int nNowCOM = 0;
    // In-use flags by COM number: nonzero at n when COMn is in use on the machine. Index 0 is never set.
    int m_UsedCOM[256] = {};

    CButton m_btnExit;
    CButton m_btnChange;
    CStatic m_stcPrinterType;
    CStatic m_stcPort;
    HICON m_hIcon = 0;

    // The port inventory, learnt from the setup library through the capture file.
    int QueryUsedPorts();
    int QueryCurrentPort();

    // The two lists.
    void FillLists();
    void OnSelchangePort();
    // The COM number the port list's selection stands for; 0, after the warning box, for no valid selection.
    int SelectedPort();

    // Korean captions on a Korean code page.
    void ApplyKoreanCaptions();

    // The system menu's about entry, the about box and the minimised icon.
    void AddAboutEntry();
    bool OnSysCommand(UINT id, LPARAM param);
    bool OnPaint();
    HICON OnQueryDragIcon();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void ApplyChange();
    void ShowInformation(const std::string& text);

    bool m_bApplying = false;  // a change is running; a second press must not start another

    DECLARE_MESSAGE_MAP()
};

// The folder part of the executable's path: the text before its last backslash, searched character by
// character so that the second byte of a double-byte character never counts. Empty when there is none.
std::string ExecutableFolder(const std::string& modulePath);
