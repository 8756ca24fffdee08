// Pressing "Change the port": validate the choice, rename the virtual port, store the choices, move the
// printers off the old port, swap the port in the spooler's list, refresh the inventory, ask for a restart
// when the printer family changed, and close.
#include <cstdio>

#include "app/ComPortDlg.h"
#include "framework/Trace.h"
#include "portsetup/SetupCommands.h"
#include "printing/Printers.h"
#include "printing/Spooler.h"
#include "settings/SettingsFile.h"
#include "settings/Texts.h"

using seam::Sys;

namespace {

// Shows the wait cursor for as long as the change works without the user.
class WaitCursor {
public:
    WaitCursor() { Sys().ShowWaitCursor(true); }
    ~WaitCursor() { Sys().ShowWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

void CComPortDlg::ShowInformation(const std::string& text) {
    // No owner, so the box stays above everything while the dialog itself stays enabled.
    Sys().MessageBox(0, text, Text(TextKey::InformationTitle),
                     seam::mb::Ok | seam::mb::TopMost | seam::mb::IconInformation);
}

void CComPortDlg::OnOK() {
    // The information boxes have no owner, so the dialog stays enabled while they are shown: a second
    // press of Change (or Enter) then must not start a second change in the middle of the first.
    if (m_bApplying) return;
    m_bApplying = true;
    ApplyChange();
    m_bApplying = false;
}

void CComPortDlg::ApplyChange() {
    TraceOut("CComPortDlg::OnOK()");

    const int NewPort = SelectedPort();
    if (NewPort == 0) return;

    if (m_UsedCOM[NewPort] != 0 && NewPort != nNowCOM) {
        char warning[128];
        std::snprintf(warning, sizeof warning, "COM%d is already used, Please select another port.", NewPort);
        AfxMessageBox(warning);
        return;
    }

    const int type = Sys().ComboSelection(m_hWnd, IDC_TYPE_LIST);

    if (NewPort == nNowCOM && type == g_nPrinterType) {
        TraceOut("No change data !!!");
        CDialog::OnOK();
        return;
    }

    bool restart = false;
    const bool portChanges = NewPort != nNowCOM;
    if (portChanges) {
        char text[256];
        std::snprintf(text, sizeof text, Text(TextKey::PortChanged), nNowCOM, NewPort);
        ShowInformation(text);  // before anything is changed

        WaitCursor busy;
        SaveComPortNum(NewPort);
        RenameVirtualPort(NewPort);
        if (type != g_nPrinterType) {
            SavePrinterType(type);
            restart = true;
        }
        char oldPort[32];
        char newPort[32];
        std::snprintf(oldPort, sizeof oldPort, "COM%d:", nNowCOM);
        std::snprintf(newPort, sizeof newPort, "COM%d:", NewPort);
        MovePrintersToCOM1(oldPort);
        RemoveSpoolerPort(oldPort);
        AddSpoolerPort(newPort);
    } else {
        SavePrinterType(type);
        restart = true;
    }

    ResetOutputFile();
    {
        WaitCursor busy;
        QueryUsedPorts();
        QueryCurrentPort();
    }

    // A rename the setup library did not carry out is not passed off as done.
    if (portChanges && nNowCOM != NewPort) {
        char warning[128];
        std::snprintf(warning, sizeof warning, "Serivo Port could not be changed to COM%d !!!", NewPort);
        AfxMessageBox(warning);
    }

    if (restart) ShowInformation(Text(TextKey::DeviceChanged));

    CDialog::OnOK();
}
