#pragma once

#include <windows.h>

#include "CPoint.h"
#include "CString.h"
#include "ComPtr.h"
#include "DispatchArgs.h"
#include "EventSinkMap.h"
#include "MessageMap.h"

class CDC;
class COleControlContainer;
class COleControlSite;

#define afx_msg

// Wraps one window handle. A CWnd that owns a window ("permanent") receives
// its messages through the message map; CWnd::FromHandle also hands out
// temporary wrappers for windows that no object owns, which live until the
// message loop next goes idle.
//
// All of it belongs to the one GUI thread.
class CWnd
{
public:
    CWnd() noexcept;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    operator HWND() const noexcept { return m_hWnd; }
    HWND GetSafeHwnd() const noexcept { return m_hWnd; }

    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd) noexcept;
    static void DeleteTempMap() noexcept;

    BOOL Attach(HWND hWndNew);
    HWND Detach() noexcept;
    // Attaches and routes the window's messages through this object first.
    BOOL SubclassWindow(HWND hWnd);
    // Gives the window its own procedure back and detaches it.
    HWND UnsubclassWindow() noexcept;

    virtual BOOL DestroyWindow();

    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
    {
        return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
    }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void ClientToScreen(LPRECT lpRect) const;
    // Centres the window over its owner, or over the work area of its
    // monitor, and keeps it inside that work area.
    void CenterWindow();
    // The work area of the monitor the window is on (the taskbar's place
    // left out); dwDefault as for MonitorFromWindow.
    static RECT WorkAreaOf(HWND hWnd, DWORD dwDefault = MONITOR_DEFAULTTONEAREST);
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }

    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemText(int nID, const wchar_t* lpszString) { ::SetDlgItemTextW(m_hWnd, nID, lpszString); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    CWnd* SetFocus();
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    int MessageBox(const wchar_t* lpszText, const wchar_t* lpszCaption = nullptr, UINT nType = MB_OK)
    {
        return ::MessageBoxW(m_hWnd, lpszText, lpszCaption, nType);
    }

    // Offered each message aimed at this window or a window inside it before
    // the message is translated and dispatched; TRUE means it was handled.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers the message to every permanent window from its target up to
    // hWndStop, innermost first.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // Calls a method of the hosted ActiveX control this wrapper is bound to,
    // with the arguments in the order the method declares them; the method's
    // result, if any, is not read. Does nothing while no control is bound; a
    // failure throws COleDispatchException (the control raised an error) or
    // COleException.
    template <class... Args>
    void InvokeHelper(DISPID dwDispID, WORD wFlags, const Args&... args)
    {
        DispatchArgs dispArgs;
        (dispArgs.Add(args), ...);
        InvokeHelperV(dwDispID, wFlags, dispArgs);
    }

    // The same where a failure is expected (a control with no page yet): the
    // call's result, nothing thrown; E_NOINTERFACE while no control is bound.
    template <class... Args>
    HRESULT TryInvokeHelper(DISPID dwDispID, WORD wFlags, const Args&... args)
    {
        DispatchArgs dispArgs;
        (dispArgs.Add(args), ...);
        return TryInvokeHelperV(dwDispID, wFlags, dispArgs);
    }
    // The bound control itself (null while none is bound), for telling it
    // apart from the frames of its pages.
    IUnknown* GetControlUnknown() const noexcept;

    // Reads a property of the bound control; VT_BSTR (into a CString) is the
    // one type read. Leaves the value alone while no control is bound;
    // throws like InvokeHelper.
    void GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;
    // The same where a failure is expected: the result, nothing thrown.
    // VT_DISPATCH is read too (into an IDispatch*, which the caller then
    // holds).
    HRESULT TryGetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;

    // The control container of a window that hosts ActiveX controls.
    COleControlContainer* GetControlContainer() const noexcept { return m_pCtrlCont.Get(); }
    void SetControlContainer(COleControlContainer* pCtrlCont);
    // Binds this wrapper to the site of a hosted control, or unbinds it.
    void AttachControlSite(COleControlSite* pSite);

    virtual const AFX_EVENTSINKMAP* GetEventSinkMap() const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_EVENTSINKMAP* GetThisEventSinkMap();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled.
    LRESULT Default();
    virtual void PostNcDestroy() {}

    // The base handlers give the message its default processing.
    afx_msg void OnPaint() { Default(); }
    afx_msg void OnClose() { Default(); }
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnTimer(UINT_PTR) { Default(); }
    afx_msg LRESULT OnNcHitTest(CPoint) { return Default(); }
    afx_msg HBRUSH OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
    afx_msg void OnSysCommand(UINT, LPARAM) { Default(); }
    afx_msg void OnHotKey(UINT, UINT, UINT) { Default(); }
    afx_msg void OnInitMenuPopup(HMENU, UINT, BOOL) { Default(); }
    afx_msg void OnEndSession(BOOL) { Default(); }
    afx_msg void OnSize(UINT, int, int) { Default(); }

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);

private:
    void InvokeHelperV(DISPID dwDispID, WORD wFlags, DispatchArgs& args);
    HRESULT TryInvokeHelperV(DISPID dwDispID, WORD wFlags, DispatchArgs& args);

    WNDPROC m_pfnSuper = nullptr; // the window's own procedure, once subclassed
    ComPtr<COleControlContainer> m_pCtrlCont;
    ComPtr<COleControlSite> m_pCtrlSite;
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The next window created on this thread becomes pWnd's, subclassed from its
// first message on (dialogs are created by the system, not by CWnd).
void AfxHookWindowCreate(CWnd* pWnd);
// Ends the hook; FALSE if no window was created since AfxHookWindowCreate.
BOOL AfxUnhookWindowCreate() noexcept;

// Offers a message to the windows that contain its target, innermost first,
// up to the application's main window (see CWnd::WalkPreTranslateTree).
BOOL AfxPreTranslateMessage(MSG* pMsg);
// Gets one message and dispatches it unless AfxPreTranslateMessage handled
// it. FALSE on WM_QUIT.
BOOL AfxPumpMessage();
