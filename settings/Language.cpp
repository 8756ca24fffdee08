// The Korean captions of the main dialog, applied when the system's ANSI code page is Korean.
#include "app/ComPortDlg.h"
#include "settings/Texts.h"

void CComPortDlg::ApplyKoreanCaptions() {
    if (seam::Sys().AnsiCodePage() != kKoreanCodePage) return;
    if (CWnd* main = AfxGetMainWnd()) main->SetWindowText(KoreanText(TextKey::DialogCaption));
    m_stcPort.SetWindowText(KoreanText(TextKey::PortLabel));
    m_stcPrinterType.SetWindowText(KoreanText(TextKey::PrinterTypeLabel));
    m_btnChange.SetWindowText(KoreanText(TextKey::ChangeButton));
    m_btnExit.SetWindowText(KoreanText(TextKey::ExitButton));
}
