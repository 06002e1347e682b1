#include "CDataExchange.h"

#include "COleControlContainer.h"
#include "CWnd.h"

void CDataExchange::Fail()
{
    throw Failure();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    const HWND hWndCtrl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (!hWndCtrl || !rControl.SubclassWindow(hWndCtrl))
        pDX->Fail();
    if (COleControlContainer* pCtrlCont = pDX->m_pDlgWnd->GetControlContainer())
    {
        if (COleControlSite* pSite = pCtrlCont->FindSite(hWndCtrl))
            rControl.AttachControlSite(pSite);
    }
}
