#include "launcher/OrlimWebDlg.h"

#include "res/resource.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace
{

const wchar_t kSettingsSection[] = L"section";
const wchar_t kKeyServersSel[] = L"ServersSel";
const wchar_t kKeyUrl[] = L"Url";
const DWORD kServersSelBuffer = 3; // a stored row is read as its first two characters
const DWORD kUrlBufferStart = 260;
// A longer address is no address (the browser takes 2,083 characters at
// most), and reading it would hold up the start: it counts as absent.
const DWORD kUrlLengthMost = DWORD(1) << 20;

// Reads a value of the settings file whole; one longer than kUrlLengthMost
// counts as absent.
CString ReadSetting(const wchar_t* lpszFile, const wchar_t* lpszKey, const wchar_t* lpszDefault)
{
    CString strValue;
    for (DWORD cchBuffer = kUrlBufferStart;; cchBuffer = std::min(2 * cchBuffer, kUrlLengthMost + 2))
    {
        const DWORD cchRead =
            ::GetPrivateProfileStringW(kSettingsSection, lpszKey, lpszDefault,
                                       strValue.GetBuffer(static_cast<int>(cchBuffer - 1)), cchBuffer, lpszFile);
        if (cchRead < cchBuffer - 1)
        {
            strValue.ReleaseBuffer(static_cast<int>(cchRead));
            return strValue;
        }
        if (cchBuffer == kUrlLengthMost + 2)
            return CString(lpszDefault);
    }
}

// Reading a value trims the blanks around it and removes a pair of quotes
// around it: a value that would lose either is written in quotes.
bool NeedsQuotes(const CString& str)
{
    const int n = str.GetLength();
    if (n == 0)
        return false;
    const wchar_t* psz = str;
    return std::iswspace(psz[0]) || std::iswspace(psz[n - 1]) || psz[0] == L'"' || psz[0] == L'\'';
}

} // namespace

// Settings file

void COrlimWebDlg::LoadSettings()
{
    CString strSel;
    m_host.Settings().Load([&](const wchar_t* lpszFile) {
        ::GetPrivateProfileStringW(kSettingsSection, kKeyServersSel, L"0",
                                   strSel.GetBuffer(static_cast<int>(kServersSelBuffer - 1)), kServersSelBuffer,
                                   lpszFile);
        strSel.ReleaseBuffer();
        m_strUrls[kManualEntryRow] = ReadSetting(lpszFile, kKeyUrl, GetPlatformUrl(0));
    });
    m_nCurSel = static_cast<int>(std::wcstol(strSel, nullptr, 10));

    // A stored row that names no row counts as no stored row at all.
    const int nRows = static_cast<int>(::SendMessageW(m_cbPlatform.m_hWnd, CB_GETCOUNT, 0, 0));
    if (m_nCurSel < 0 || m_nCurSel >= nRows ||
        ::SendMessageW(m_cbPlatform.m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(m_nCurSel), 0) == CB_ERR)
    {
        m_nCurSel = 0;
        ::SendMessageW(m_cbPlatform.m_hWnd, CB_SETCURSEL, 0, 0);
    }

    SetDlgItemText(IDC_URL_EDIT, m_strUrls[kManualEntryRow]);
    if (IsManualEntryRow(m_nCurSel))
        GetDlgItem(IDC_URL_EDIT)->EnableWindow(TRUE);
}

void COrlimWebDlg::SaveSettings()
{
    CString strUrl;
    GetDlgItemText(IDC_URL_EDIT, strUrl);
    SaveRowAndUrl(m_host.Settings(), GetCurrentRow(), strUrl);
}

void COrlimWebDlg::SaveRowAndUrl(CSettings& settings, int nSel, CString strUrl)
{
    if (NeedsQuotes(strUrl))
        strUrl.Format(L"\"%ls\"", static_cast<const wchar_t*>(strUrl));
    // Both values change together or not at all; a save that cannot be made
    // now is made as soon as it can, and the next choice replaces it.
    settings.Save(kSettingsSection, [nSel, strUrl](const wchar_t* lpszCopy) {
        return SaveServersSel(nSel, lpszCopy) &&
               ::WritePrivateProfileStringW(kSettingsSection, kKeyUrl, strUrl, lpszCopy);
    });
}

BOOL COrlimWebDlg::SaveServersSel(int nSel, const wchar_t* lpszFile)
{
    CString strSel;
    strSel.Format(L"%d", nSel);
    return ::WritePrivateProfileStringW(kSettingsSection, kKeyServersSel, strSel, lpszFile);
}
