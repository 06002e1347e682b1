#pragma once

#include <windows.h>

class CWnd;

// Context of one dialog data exchange (see CDialog::UpdateData).
class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) noexcept
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
    {
    }

    BOOL m_bSaveAndValidate; // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;

    // Ends the exchange as failed: UpdateData then returns FALSE.
    [[noreturn]] void Fail();

    struct Failure
    {
    };
};

// Binds rControl to the dialog's control nIDC, once: the wrapper takes over
// the control's window, and for a hosted ActiveX control, its site too.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
