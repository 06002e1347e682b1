#pragma once

#include "browser/Explorer1.h"
#include "browser/HiddenBrowser.h"
#include "framework/CDialog.h"

#include <memory>
#include <vector>

// The browser pane: a child dialog under the launcher's header strip that
// hosts the web browser control. It keeps the pages' pop-up windows inside
// that control, drops Enter and Escape, and never closes itself.
//
// A page that asks for a new window is handed a browser of its own that is
// never shown, so that its script holds a real window (portals open a blank
// window first and give it its address later, or post a login form into
// it). The first web address that browser goes to, with its form data and
// headers (and the asking page as the Referer, unless they name one), is
// opened in the pane's control instead. Each such browser waits on its own,
// up to ten minutes.
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
    // refresh (which completes no page) and after the player's Ctrl+wheel.
    // After a refresh the zoom asked for is asked again. A browser that does
    // not say leaves the zoom asked for.
    int ReadZoom();
    // The system's DPI as this program sees it (120 on Windows 7 at 125 %;
    // 96 at 150 %, where a program that is not DPI-aware is scaled by the
    // system instead). The browser's zoom includes the system's scale: it
    // lays a page out at 96 DPI, so 125 shows a page at its own size at 120
    // DPI. The percents asked for and read back here are the page's own.
    void SetSystemDpi(int nDpi) noexcept;
    // The page's zoom as last read (or asked for).
    int GetZoom() const noexcept { return m_nPageZoom; }
    // Loads the page shown again; from the network alone when bCompletely.
    void Reload(bool bCompletely = false);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnReleasePopups(WPARAM wParam, LPARAM lParam);
    void OnNewWindow3(LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrUrlContext, BSTR bstrUrl);
    void OnWindowClosing(BOOL IsChildWindow, BOOL* Cancel);
    void OnDocumentComplete(LPDISPATCH pDisp, VARIANT* URL);
    // The hidden browsers' events.
    void OnPopupNewWindow3(UINT nID, LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrUrlContext,
                           BSTR bstrUrl);
    void OnPopupBeforeNavigate2(UINT nID, LPDISPATCH pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                VARIANT* PostData, VARIANT* Headers, BOOL* Cancel);
    void OnPopupWindowClosing(UINT nID, BOOL IsChildWindow, BOOL* Cancel);

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    // A page's request for a new window, from the pane's control or a
    // hidden browser.
    void OnNewWindowRequest(LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrUrlContext,
                            BSTR bstrUrl);
    // A hidden browser still waiting for its address, by its id.
    CHiddenBrowser* FindPopup(UINT nID) const;
    // Lets a hidden browser go, once its event has returned.
    void ReleasePopup(UINT nID);
    void ApplyZoom();
    // Whether an object the browser names is the browser itself, not one
    // of the frames of its page.
    bool IsBrowser(LPDISPATCH pDisp) const;

    static const int kLayoutDpi = 96;

    bool m_bBrowserStarted = false; // the control was created and bound
    int m_nSystemDpi = kLayoutDpi;
    int m_nZoom = 100;     // asked for
    int m_nPageZoom = 100; // as the page has it
    int m_nRefreshWatch = 0; // ticks left in which a refresh may still undo the zoom
    std::vector<std::unique_ptr<CHiddenBrowser>> m_popups; // handed to pages, waiting for their addresses
    std::vector<std::unique_ptr<CHiddenBrowser>> m_released;
    UINT m_nNextPopupID;
};
