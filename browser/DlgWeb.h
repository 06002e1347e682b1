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

    // The pages' zoom in percent, kept for every page that completes from
    // now on; 100 leaves pages as they are.
    void SetZoom(int nPercent);
    int GetZoom() const noexcept { return m_nZoom; }
    // Loads the page shown again.
    void Reload();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    afx_msg void OnClose();
    afx_msg void OnPaint();
    void OnNewWindow3(LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrUrlContext, BSTR bstrUrl);
    void OnWindowClosing(BOOL IsChildWindow, BOOL* Cancel);
    void OnDocumentComplete(LPDISPATCH pDisp, VARIANT* URL);

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    void ApplyZoom();

    bool m_bBrowserStarted = false; // the control was created and bound
    int m_nZoom = 100;
};
