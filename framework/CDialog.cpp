#include "CDialog.h"

#include "CDataExchange.h"
#include "COleControlContainer.h"
#include "CRect.h"
#include "CWinApp.h"

#include <vector>

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    // Every other message reaches the dialog through its message map (the
    // window is subclassed); this procedure only runs OnInitDialog, whose
    // answer tells the dialog manager whether to set the focus.
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* pDlg = static_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    if (!pDlg)
        return FALSE;
    try
    {
        return pDlg->OnInitDialog();
    }
    catch (...)
    {
        ::OutputDebugStringW(L"unhandled exception in OnInitDialog\n");
        return FALSE;
    }
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) noexcept : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal()
{
    HWND hWndParent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hWndParent)
    {
        if (CWnd* pMainWnd = AfxGetMainWnd(); pMainWnd && pMainWnd != this)
            hWndParent = pMainWnd->m_hWnd;
    }
    const bool bEnableParent = hWndParent && ::IsWindowEnabled(hWndParent);
    if (bEnableParent)
        ::EnableWindow(hWndParent, FALSE);

    m_bContinueModal = true;
    m_nModalResult = -1;
    if (CreateDlgIndirect(hWndParent) && m_bContinueModal)
        RunModalLoop();
    m_bContinueModal = false;

    if (m_hWnd)
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);
    DestroyWindow();
    return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    if (!pParentWnd)
        pParentWnd = AfxGetMainWnd();
    return CreateDlgIndirect(pParentWnd ? pParentWnd->m_hWnd : nullptr);
}

void CDialog::EndDialog(int nResult)
{
    if (m_bContinueModal)
    {
        m_bContinueModal = false;
        m_nModalResult = nResult;
        PostMessage(WM_NULL); // wakes the modal loop if it is waiting
    }
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try
    {
        DoDataExchange(&dx);
    }
    catch (const CDataExchange::Failure&)
    {
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // Only keyboard and mouse input takes part in dialog navigation.
    const UINT message = pMsg->message;
    if ((message < WM_KEYFIRST || message > WM_KEYLAST) && (message < WM_MOUSEFIRST || message > WM_MOUSELAST))
        return FALSE;
    return IsDialogMessage(pMsg);
}

BOOL CDialog::IsDialogMessage(MSG* pMsg)
{
    // A hosted control gets the first look at keys typed into it, as a
    // browser needs for Tab, the arrows, Backspace or Ctrl+C inside a page.
    if (COleControlContainer* pCtrlCont = GetControlContainer(); pCtrlCont && pCtrlCont->PreTranslateInput(pMsg))
        return TRUE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

BOOL CDialog::OnInitDialog()
{
    if (!ExecuteDlgInit() || !UpdateData(FALSE))
    {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    CRect rectOld;
    GetWindowRect(&rectOld);
    const DWORD dwStyleOld = GetStyle();

    const BOOL bCreated = CreateDlgControls();
    m_oleItems.clear();
    if (!bCreated)
    {
        // OnInitDialog, and with it DoDataExchange, does not run.
        EndDialog(-1);
        return FALSE;
    }
    const LRESULT lResult = Default(); // the dialog procedure: OnInitDialog
    CenterIfUnplaced(rectOld, dwStyleOld);
    return lResult;
}

BOOL CDialog::CreateDlgIndirect(HWND hWndParent)
{
    const HINSTANCE hInst = AfxGetResourceHandle();
    const HRSRC hRes = ::FindResourceW(hInst, MAKEINTRESOURCEW(m_nIDTemplate), RT_DIALOG);
    const HGLOBAL hData = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    const void* pTemplate = hData ? ::LockResource(hData) : nullptr;
    if (!pTemplate)
        return FALSE;

    const DialogTemplate dlgTemplate(pTemplate, ::SizeofResource(hInst, hRes));
    m_nInitCodePage = dlgTemplate.GetCodePage();
    m_bAutoCenter = dlgTemplate.IsExtended() && dlgTemplate.GetX() == 0 && dlgTemplate.GetY() == 0 &&
                    !(dlgTemplate.GetStyle() & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN));

    // The dialog manager cannot create ActiveX items: they are taken out of
    // the template and created during WM_INITDIALOG.
    std::vector<DWORD> stripped;
    if (AfxControlContainerEnabled() && !dlgTemplate.GetOleItems().empty())
    {
        stripped = dlgTemplate.WithoutOleItems();
        m_oleItems = dlgTemplate.GetOleItems();
        pTemplate = stripped.data();
    }

    AfxHookWindowCreate(this);
    const HWND hWnd =
        ::CreateDialogIndirectParamW(hInst, static_cast<LPCDLGTEMPLATEW>(pTemplate), hWndParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    m_oleItems.clear();
    return hWnd != nullptr;
}

void CDialog::CenterIfUnplaced(const RECT& rectOld, DWORD dwStyleOld)
{
    // Only a dialog that was hidden before and after its initialisation, was
    // not moved by it, and has no enabled owner is centred.
    if (!m_hWnd || !m_bAutoCenter || (dwStyleOld & WS_VISIBLE) || (GetStyle() & (WS_VISIBLE | WS_CHILD)))
        return;
    CRect rect;
    GetWindowRect(&rect);
    if (rect.left != rectOld.left || rect.top != rectOld.top)
        return;
    const HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndOwner && ::IsWindowEnabled(hWndOwner))
        return;
    CenterWindow();
}

void CDialog::RunModalLoop()
{
    while (m_bContinueModal)
    {
        MSG msg;
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            CWnd::DeleteTempMap(); // idle
        if (!AfxPumpMessage())
        {
            ::PostQuitMessage(0); // WM_QUIT belongs to the loop outside
            m_bContinueModal = false;
            m_nModalResult = -1;
        }
    }
}
