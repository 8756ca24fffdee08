// The port list (COM1 to COM255, in-use ports marked) and the printer-type list, and the Change button
// following the port selection.
#include <cstdio>

#include "app/ComPortDlg.h"
#include "app/PortLists.h"
#include "framework/Trace.h"
#include "portsetup/CaptureFile.h"
#include "settings/SettingsFile.h"
#include "settings/Texts.h"

using seam::Sys;

std::string PortEntryText(int n, int nowCom, const int (&used)[256]) {
    char entry[64];
    if (used[n] != 0 && n != nowCom) {
        std::snprintf(entry, sizeof entry, "COM%d %s", n, Text(TextKey::InUseMarker));
    } else {
        std::snprintf(entry, sizeof entry, "COM%d", n);
    }
    return entry;
}

void CComPortDlg::FillLists() {
    Sys().ComboReset(m_hWnd, IDC_PORT_LIST);
    Sys().ComboRedraw(m_hWnd, IDC_PORT_LIST, false);  // one redraw for the whole list, not one per entry
    for (int n = 1; n <= 255; ++n) Sys().ComboAdd(m_hWnd, IDC_PORT_LIST, PortEntryText(n, nNowCOM, m_UsedCOM));
    Sys().ComboRedraw(m_hWnd, IDC_PORT_LIST, true);
    Sys().ComboSelect(m_hWnd, IDC_PORT_LIST, nNowCOM - 1);  // no selection while the port is not learnt

    Sys().ComboReset(m_hWnd, IDC_TYPE_LIST);
    for (const char* type : kPrinterTypes) Sys().ComboAdd(m_hWnd, IDC_TYPE_LIST, type);
    const int stored = LoadPrinterType();
    Sys().ComboSelect(m_hWnd, IDC_TYPE_LIST, stored);  // outside 0 to 4: no selection
}

int CComPortDlg::SelectedPort() {
    const int id = Sys().ComboSelection(m_hWnd, IDC_PORT_LIST);
    TraceOut("id=%d", id);
    if (id < 0 || id > 254) {
        AfxMessageBox("Invalid COM Port !!!");
        return 0;
    }
    const int NewPort = id + 1;
    TraceOut("nNowCOM=%d,NewPort=%d", nNowCOM, NewPort);
    return NewPort;
}

void CComPortDlg::OnSelchangePort() {
    const int NewPort = SelectedPort();
    if (NewPort == 0) return;
    GetDlgItem(IDOK).EnableWindow(NewPort != nNowCOM);
}
