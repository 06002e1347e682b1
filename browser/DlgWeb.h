#pragma once

#include "browser/Explorer1.h"
#include "browser/HiddenBrowser.h"
#include "browser/ShownPage.h"
#include "browser/ZoomablePage.h"
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
class CDlgWeb : public CDialog, public CZoomablePage, public CShownPage
{
public:
    CDlgWeb() noexcept;

    // Quiets the browser's navigation click for the process, then creates
    // the pane and its browser control.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The page's zoom (CZoomablePage). The browser counts the system's
    // scale into its zoom: it lays a page out at 96 DPI, so 125 shows a page
    // at its own size at 120 DPI. The percents asked for and read back here
    // are the page's own.
    bool ApplyZoom(int nPercent) override;
    bool ReadZoom(int* pnPercent) override;
    int OnScreen(int nPercent) const override;
    void SetListener(Listener* pListener) noexcept override { m_pListener = pListener; }
    // The system's DPI as this program sees it (120 on Windows 7 at 125 %;
    // 96 at 150 %, where a program that is not DPI-aware is scaled by the
    // system instead).
    void SetSystemDpi(int nDpi) noexcept;
    // The page shown (CShownPage): a control that has none, or failed to
    // start, answers empty.
    CString PageUrl() const override;
    ComPtr<IDispatch> PageDocument() const override;
    void Reload(bool bCompletely) override;
    // The control's window; null where it could not start.
    HWND ControlWindow() const noexcept { return m_explorer.m_hWnd; }
    // Has the control open an address (a control that failed raises the
    // framework's exception, as any call into it).
    void Navigate(const CString& strUrl) { m_explorer.Navigate(strUrl, nullptr, nullptr, nullptr, nullptr); }

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
    void OnNewWindowRequest(LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrUrlContext, BSTR bstrUrl);
    // A hidden browser still waiting for its address, by its id.
    CHiddenBrowser* FindPopup(UINT nID) const;
    // Lets a hidden browser go, once its event has returned.
    void ReleasePopup(UINT nID);
    // Whether an object the browser names is the browser itself, not one
    // of the frames of its page.
    bool IsBrowser(LPDISPATCH pDisp) const;
    void Tell(Event event);

    static const int kLayoutDpi = 96;
    // The hidden browsers' control ids, which are their timers' too, and the
    // message that lets them go.
    static const UINT kFirstPopupID = 2000;
    static const UINT kLastPopupID = 2999;
    static const UINT kReleasePopupsMessage = WM_APP + 1;

    CExplorer1 m_explorer;
    bool m_bBrowserStarted = false; // the control was created and bound
    int m_nSystemDpi = kLayoutDpi;
    Listener* m_pListener = nullptr;
    std::vector<std::unique_ptr<CHiddenBrowser>> m_popups; // handed to pages, waiting for their addresses
    std::vector<std::unique_ptr<CHiddenBrowser>> m_released;
    UINT m_nNextPopupID;
};
