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

    // The pages' zoom in percent, asked of every page that completes from
    // now on; 100 leaves pages as they are. False when it was asked already.
    bool SetZoom(int nPercent);
    // Reads the page's zoom back. It is not always the one asked for: after a
    // refresh (which completes no page), after the player's Ctrl+wheel, and
    // on Windows 7 at 120 or 144 DPI, where the browser scales it by the
    // system's. After a refresh the zoom asked for is asked again. A browser
    // that does not say leaves the zoom asked for.
    int ReadZoom();
    // The page's zoom as last read (or asked for).
    int GetZoom() const noexcept { return m_nPageZoom; }
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
    // Whether an object the browser names is the browser itself, not one
    // of the frames of its page.
    bool IsBrowser(LPDISPATCH pDisp) const;

    bool m_bBrowserStarted = false; // the control was created and bound
    int m_nZoom = 100;     // asked for
    int m_nPageZoom = 100; // as the page has it
    int m_nRefreshWatch = 0; // ticks left in which a refresh may still undo the zoom
};
