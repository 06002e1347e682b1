#pragma once

#include "browser/Explorer1.h"
#include "framework/CDialog.h"

// The browser pane: a child dialog under the launcher's header strip that
// hosts the web browser control. It keeps the pages' pop-up windows inside
// that control, drops Enter and Escape, and never closes itself.
class CDlgWeb : public CDialog
{
public:
    CDlgWeb() noexcept;

    CExplorer1 m_explorer;

    // Quiets the browser's navigation click for the process, then creates
    // the pane and its browser control.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    afx_msg void OnClose();
    afx_msg void OnPaint();
    void OnNewWindow3(LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrUrlContext, BSTR bstrUrl);
    void OnWindowClosing(BOOL IsChildWindow, BOOL* Cancel);

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    bool m_bBrowserStarted = false; // the control was created and bound
};
