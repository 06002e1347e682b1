#include "launcher/OrlimWebDlg.h"

#include "res/resource.h"

// Settings file

void COrlimWebDlg::LoadSettings()
{
    // A file another program held could not be read: the defaults show, and
    // what it holds follows once it has been read (CSettings).
    m_host.ReadSettings([this] {
        ShowStoredRow();
        OpenCurrentRow(false);
    });
    ShowStoredRow();
}

void COrlimWebDlg::ShowStoredRow()
{
    const CRowAndUrl& stored = m_host.Settings().RowAndUrl();
    m_strUrls[kManualEntryRow] = stored.Url(GetPlatformUrl(0));
    m_nCurSel = stored.Row();

    // A stored row that names no row counts as no stored row at all.
    const int nRows = static_cast<int>(::SendMessageW(m_cbPlatform.m_hWnd, CB_GETCOUNT, 0, 0));
    if (m_nCurSel < 0 || m_nCurSel >= nRows ||
        ::SendMessageW(m_cbPlatform.m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(m_nCurSel), 0) == CB_ERR)
    {
        m_nCurSel = 0;
        ::SendMessageW(m_cbPlatform.m_hWnd, CB_SETCURSEL, 0, 0);
    }

    SetDlgItemText(IDC_URL_EDIT, m_strUrls[kManualEntryRow]);
    GetDlgItem(IDC_URL_EDIT)->EnableWindow(IsManualEntryRow(m_nCurSel));
}

void COrlimWebDlg::SaveSettings(bool bChosen)
{
    CString strUrl;
    GetDlgItemText(IDC_URL_EDIT, strUrl);
    m_host.Settings().SaveRowAndUrl(m_cbPlatform.GetCurSel(), strUrl, bChosen);
}
