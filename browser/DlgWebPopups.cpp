// The browser pane's part in pop-ups: the hidden browsers handed to pages
// that ask for new windows, and what they are sent to, carried into the
// pane's own control.

#include "DlgWeb.h"

#include "framework/UniqueBstr.h"

#include <algorithm>
#include <cwchar>

#include <exdispid.h>
#include <shobjidl.h>

namespace
{

// Pop-ups whose address contains this text, anywhere and in exactly these
// letters, are left to the browser control: the launcher maker's own site
// may open its pages in windows of their own.
const wchar_t kPopupExemptDomain[] = L"velka.cn";

// How long a hidden browser waits for its address (a portal's login queue
// may take minutes), and how many wait at once (the oldest goes).
const UINT kPopupPatienceMs = 10 * 60 * 1000;
const size_t kPopupsWaitingMost = 8;

// What a page's new window may start at: blank ("about:blank", the
// address window.open('') gives too).
const wchar_t kBlankStart[] = L"about:blank";

// An address's text without the blanks and control characters around it.
CString Trimmed(const CString& strUrl)
{
    const wchar_t* pBegin = strUrl;
    const wchar_t* pEnd = pBegin + strUrl.GetLength();
    while (pBegin < pEnd && *pBegin <= L' ')
        ++pBegin;
    while (pEnd > pBegin && pEnd[-1] <= L' ')
        --pEnd;
    return CString(pBegin, static_cast<int>(pEnd - pBegin));
}

bool StartsWithNoCase(const CString& str, const wchar_t* lpszPrefix)
{
    const int cchPrefix = static_cast<int>(::lstrlenW(lpszPrefix));
    return str.GetLength() >= cchPrefix &&
           ::CompareStringOrdinal(str, cchPrefix, lpszPrefix, cchPrefix, TRUE) == CSTR_EQUAL;
}

// Only web addresses are opened for a page's new window. Scripts
// (javascript:, vbscript:) would run in the pane's page, the game's; local
// content (file:, res:, mk:, ms-its:, data:) has no business coming from an
// Internet page.
bool IsWebAddress(const CString& strUrl)
{
    const CString strTrimmed = Trimmed(strUrl);
    return StartsWithNoCase(strTrimmed, L"http:") || StartsWithNoCase(strTrimmed, L"https:");
}

// The value behind an event's by-reference argument; null when it holds
// nothing (no form data, no headers).
VARIANT* ValueOf(VARIANT* pvar)
{
    if (pvar && pvar->vt == (VT_BYREF | VT_VARIANT))
        pvar = pvar->pvarVal;
    return pvar && pvar->vt != VT_EMPTY && pvar->vt != VT_NULL ? pvar : nullptr;
}

CString TextOf(VARIANT* pvar)
{
    pvar = ValueOf(pvar);
    if (!pvar || pvar->vt != VT_BSTR)
        return CString();
    return CString(pvar->bstrVal, static_cast<int>(::SysStringLen(pvar->bstrVal)));
}

// Whether request headers ("Name: value" lines) hold a Referer.
bool HasReferer(const CString& strHeaders)
{
    const wchar_t kName[] = L"Referer:";
    const int cchName = static_cast<int>(ARRAYSIZE(kName) - 1);
    const wchar_t* psz = strHeaders;
    for (const wchar_t* pLine = psz; *pLine;)
    {
        if (::CompareStringOrdinal(pLine, std::min(cchName, static_cast<int>(::lstrlenW(pLine))), kName, cchName,
                                   TRUE) == CSTR_EQUAL)
            return true;
        const wchar_t* pNext = std::wcschr(pLine, L'\n');
        if (!pNext)
            break;
        pLine = pNext + 1;
    }
    return false;
}

// What the browser would send as the Referer of a navigation from a page
// to an address: nothing from a page that is not on the web, nor from a
// secure page to one that is not; never the page's fragment.
CString RefererFor(const CString& strOpener, const CString& strUrl)
{
    const CString strPage = Trimmed(strOpener);
    if (!IsWebAddress(strPage) || std::wcspbrk(strPage, L"\r\n") ||
        (StartsWithNoCase(strPage, L"https:") && !StartsWithNoCase(Trimmed(strUrl), L"https:")))
        return CString();
    const wchar_t* psz = strPage;
    const wchar_t* pHash = std::wcschr(psz, L'#');
    return pHash ? CString(psz, static_cast<int>(pHash - psz)) : strPage;
}

} // namespace

void CDlgWeb::OnNewWindow3(LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrUrlContext, BSTR bstrUrl)
{
    OnNewWindowRequest(ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl);
}

void CDlgWeb::OnPopupNewWindow3(UINT, LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrUrlContext,
                                BSTR bstrUrl)
{
    OnNewWindowRequest(ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl);
}

void CDlgWeb::OnNewWindowRequest(LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrUrlContext,
                                 BSTR bstrUrl)
{
    const CString strUrl(bstrUrl, static_cast<int>(::SysStringLen(bstrUrl)));
    if (strUrl.Find(kPopupExemptDomain) >= 0)
        return;
    // A page being left (its unload handlers) asks for windows too, mostly
    // advertisements: following one would replace the page the player has
    // just chosen. It gets no window and no navigation.
    if (dwFlags & NWMF_UNLOADING)
    {
        *Cancel = TRUE;
        return;
    }
    // Each window waits for its address on its own: a portal may open the
    // game and a notice with one click. A handful at most wait at once.
    if (m_popups.size() >= kPopupsWaitingMost)
        ReleasePopup(m_popups.front()->GetID());
    const CString strOpener(bstrUrlContext, static_cast<int>(::SysStringLen(bstrUrlContext)));
    auto pPopup = std::make_unique<CHiddenBrowser>(*this, m_nNextPopupID, strOpener);
    m_nNextPopupID = m_nNextPopupID == kLastPopupID ? kFirstPopupID : m_nNextPopupID + 1;
    if (pPopup->IsCreated())
    {
        *ppDisp = pPopup->Share();
        ::SetTimer(m_hWnd, pPopup->GetID(), kPopupPatienceMs, nullptr);
        m_popups.push_back(std::move(pPopup));
        return;
    }
    // Without a browser to hand out, a web address is opened in this same
    // control; a failing Navigate leaves Cancel alone, so the control then
    // opens the window its own way. Anything else gets no window.
    if (IsWebAddress(strUrl))
        m_explorer.Navigate(strUrl, nullptr, nullptr, nullptr, nullptr);
    *Cancel = TRUE;
}

CHiddenBrowser* CDlgWeb::FindPopup(UINT nID) const
{
    for (const auto& pPopup : m_popups)
        if (pPopup->GetID() == nID)
            return pPopup.get();
    return nullptr;
}

void CDlgWeb::OnPopupBeforeNavigate2(UINT nID, LPDISPATCH pDisp, VARIANT* URL, VARIANT*, VARIANT*, VARIANT* PostData,
                                     VARIANT* Headers, BOOL* Cancel)
{
    // The frames of what the hidden browser shows go their way; so does a
    // browser already let go.
    const CHiddenBrowser* pPopup = FindPopup(nID);
    if (!pPopup || !pPopup->Is(pDisp))
        return;
    const CString strUrl = TextOf(URL);
    if (::CompareStringOrdinal(Trimmed(strUrl), -1, kBlankStart, -1, TRUE) == CSTR_EQUAL)
        return; // the window the page holds starts blank
    *Cancel = TRUE;
    if (IsWebAddress(strUrl))
    {
        // The page's address for its window, form data and headers with it,
        // in the pane's own control, from the page that asked for the
        // window as its own navigation would have said (portals check where
        // a game start comes from).
        CString strHeaders = TextOf(Headers);
        const CString strReferer = RefererFor(pPopup->Opener(), strUrl);
        if (!HasReferer(strHeaders) && !strReferer.IsEmpty())
        {
            const int cch = strHeaders.GetLength();
            if (cch > 0 && static_cast<const wchar_t*>(strHeaders)[cch - 1] != L'\n')
                strHeaders += L"\r\n";
            strHeaders += L"Referer: ";
            strHeaders += strReferer;
            strHeaders += L"\r\n";
        }
        const UniqueBstr bstrHeaders(strHeaders, static_cast<UINT>(strHeaders.GetLength()));
        VARIANT varHeaders;
        varHeaders.vt = VT_BSTR;
        varHeaders.bstrVal = bstrHeaders.Get();
        m_explorer.TryNavigate(strUrl, nullptr, nullptr, ValueOf(PostData), &varHeaders);
    }
    // The hidden browser has served, whether the control takes the address
    // or not (a hidden one could show nothing).
    ReleasePopup(nID);
}

void CDlgWeb::OnPopupWindowClosing(UINT nID, BOOL, BOOL*)
{
    // A pop-up closing itself: it may, and it is let go.
    ReleasePopup(nID);
}

void CDlgWeb::ReleasePopup(UINT nID)
{
    const auto it =
        std::find_if(m_popups.begin(), m_popups.end(),
                     [nID](const std::unique_ptr<CHiddenBrowser>& pPopup) { return pPopup->GetID() == nID; });
    if (it == m_popups.end())
        return;
    ::KillTimer(m_hWnd, nID);
    // It may be inside one of its own events now: it goes once that has
    // returned.
    m_released.push_back(std::move(*it));
    m_popups.erase(it);
    ::PostMessageW(m_hWnd, kReleasePopupsMessage, 0, 0);
}

LRESULT CDlgWeb::OnReleasePopups(WPARAM, LPARAM)
{
    m_released.clear();
    return 0;
}

void CDlgWeb::OnTimer(UINT_PTR nIDEvent)
{
    // A pop-up that got no address in its time will get none.
    if (nIDEvent >= kFirstPopupID && nIDEvent <= kLastPopupID)
        ReleasePopup(static_cast<UINT>(nIDEvent));
    else
        CDialog::OnTimer(nIDEvent);
}
