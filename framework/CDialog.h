#pragma once

#include "CWnd.h"
#include "DialogTemplate.h"

#include <vector>

class CDataExchange;

// A dialog window made from a template resource, modal (DoModal) or
// modeless (Create).
//
// Initialisation runs in this order: the ActiveX controls of the template
// are created from the dialog's initial data (a control that cannot be
// created ends the dialog with -1 there); then OnInitDialog, whose base
// version adds the initial data's strings to their controls (a refused
// string ends the dialog with -1) and runs DoDataExchange. A top-level
// dialog that asks for no position of its own is then centred.
class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr) noexcept;

    // Runs the dialog until EndDialog; returns its result, -1 if it could
    // not be created or initialised.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless; without a parent, the application's main
    // window becomes the parent.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);

private:
    BOOL CreateDlgIndirect(HWND hWndParent);
    BOOL CreateDlgControls();
    BOOL ExecuteDlgInit();
    BOOL IsDialogMessage(MSG* pMsg);
    void CenterIfUnplaced(const RECT& rectOld, DWORD dwStyleOld);
    void RunModalLoop();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    UINT m_nInitCodePage = CP_ACP; // of the 8-bit strings in the initial data
    bool m_bAutoCenter = false;
    std::vector<DialogOleItem> m_oleItems; // to create during WM_INITDIALOG
    bool m_bContinueModal = false;
    int m_nModalResult = -1;
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
