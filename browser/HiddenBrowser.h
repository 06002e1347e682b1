#pragma once

#include "framework/CString.h"
#include "framework/ComPtr.h"

#include <windows.h>
#include <oaidl.h>

class COleControlSite;
class CWnd;

// A WebBrowser control that a window hosts and never shows: what the pane
// hands a page that asks for a new window, so that the page's script holds
// a real window. The control goes with the object.
class CHiddenBrowser
{
public:
    // Creates it in the window (which hosts controls) with the id nID, for
    // a page at strOpener.
    CHiddenBrowser(CWnd& wndHost, UINT nID, const CString& strOpener);
    ~CHiddenBrowser();
    CHiddenBrowser(const CHiddenBrowser&) = delete;
    CHiddenBrowser& operator=(const CHiddenBrowser&) = delete;

    // False when the control could not be created or hosted.
    bool IsCreated() const noexcept { return static_cast<bool>(m_pDispatch); }
    UINT GetID() const noexcept { return m_nID; }
    // The address of the page that asked for the window.
    const CString& Opener() const noexcept { return m_strOpener; }
    // The browser as the page is to hold it: a reference of its own.
    LPDISPATCH Share() const;
    // Whether an object the browser names is this browser itself, not one
    // of the frames of its page.
    bool Is(LPDISPATCH pDisp) const;

private:
    UINT m_nID;
    CString m_strOpener;
    ComPtr<COleControlSite> m_pSite;
    ComPtr<IDispatch> m_pDispatch;
};
