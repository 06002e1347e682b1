// What a dialog's template cannot say for itself: its ActiveX items, made
// with their persisted state, and the strings of its combo boxes; both from
// the dialog's initial data (resource type 240).

#include "CDialog.h"

#include "COleControlContainer.h"
#include "CRect.h"
#include "CWinApp.h"
#include "DialogInitData.h"

#include <cstring>
#include <string>

BOOL CDialog::CreateDlgControls()
{
    if (m_oleItems.empty())
        return TRUE;
    const DialogInitData initData = DialogInitData::Load(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate));
    auto nextState = initData.GetEntries().begin();
    const auto endState = initData.GetEntries().end();

    ComPtr<COleControlContainer> pCtrlCont(new COleControlContainer(this));
    SetControlContainer(pCtrlCont.Get());

    HWND hWndAfter = HWND_TOP; // keeps template order, and with it tab order
    size_t nItemsSeen = 0;
    for (const DialogOleItem& item : m_oleItems)
    {
        // The dialog's own items before this one, in creation order.
        for (; nItemsSeen < item.nIndex; ++nItemsSeen)
            hWndAfter = hWndAfter == HWND_TOP ? ::GetWindow(m_hWnd, GW_CHILD) : ::GetWindow(hWndAfter, GW_HWNDNEXT);
        ++nItemsSeen;

        // Each ActiveX item takes the next persisted state, in template order.
        while (nextState != endState && nextState->nMsg != AFX_DLGINIT_LOADFROMSTREAM)
            ++nextState;
        const BYTE* pState = nullptr;
        size_t cbState = 0;
        if (nextState != endState)
        {
            // A count of creation-key characters, the key, then the state.
            DWORD cchKey = 0;
            if (nextState->cbData >= sizeof(DWORD))
                std::memcpy(&cchKey, nextState->pData, sizeof(DWORD));
            const size_t cbSkip = sizeof(DWORD) + size_t(cchKey) * sizeof(wchar_t);
            if (cbSkip <= nextState->cbData)
            {
                pState = nextState->pData + cbSkip;
                cbState = nextState->cbData - cbSkip;
            }
            ++nextState;
        }

        CLSID clsid;
        if (FAILED(::CLSIDFromString(item.className.c_str(), &clsid)))
            return FALSE;
        CRect rect(item.x, item.y, item.x + item.cx, item.y + item.cy);
        ::MapDialogRect(m_hWnd, rect);
        HWND hWndCtrl = nullptr;
        if (!pCtrlCont->CreateControl(clsid, item.style, rect, item.nID, pState, cbState, &hWndCtrl))
            return FALSE;
        ::SetWindowPos(hWndCtrl, hWndAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        hWndAfter = hWndCtrl;
    }
    return TRUE;
}

BOOL CDialog::ExecuteDlgInit()
{
    const DialogInitData initData = DialogInitData::Load(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate));
    for (const DialogInitData::Entry& entry : initData.GetEntries())
    {
        if (entry.nMsg != AFX_DLGINIT_CB_ADDSTRING || entry.cbData == 0)
            continue;
        // The 8-bit strings are in the code page of the dialog's font
        // character set, not necessarily the system's: a dialog for Chinese
        // text shows it on any system.
        const char* pText = reinterpret_cast<const char*>(entry.pData);
        const int cbText = static_cast<int>(::strnlen(pText, entry.cbData));
        const int cchText = ::MultiByteToWideChar(m_nInitCodePage, 0, pText, cbText, nullptr, 0);
        std::wstring text(static_cast<size_t>(cchText), L'\0');
        ::MultiByteToWideChar(m_nInitCodePage, 0, pText, cbText, text.data(), cchText);
        const LRESULT lResult =
            ::SendDlgItemMessageW(m_hWnd, entry.nIDC, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (lResult == CB_ERR || lResult == CB_ERRSPACE)
            return FALSE;
    }
    return TRUE;
}
