#pragma once

#include "framework/CString.h"
#include "framework/CWnd.h"
#include "framework/ComPtr.h"

// The Internet Explorer WebBrowser control, as the program uses it: bound by
// DDX_Control to the control that the browser pane's template creates.
class CExplorer1 : public CWnd
{
public:
    // Starts loading an address in the control's top-level frame; the
    // optional arguments may each be null. Does nothing while no control is
    // bound; a failed call throws COleDispatchException or COleException.
    void Navigate(const CString& URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData, VARIANT* Headers);
    // The same for a caller that goes on whatever becomes of it: the call's
    // result, nothing thrown.
    HRESULT TryNavigate(const CString& URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                        VARIANT* Headers);
    // Loads the page shown again; fails for a page that never loaded.
    HRESULT TryRefresh();
    // Runs one of the browser's commands (OLECMDID_...); fails for a command
    // the page shown cannot take (none is loaded yet).
    HRESULT TryExecWB(long cmdID, long cmdexecopt, VARIANT* pvaIn, VARIANT* pvaOut);
    // The address of the page shown (empty while no control is bound).
    CString GetLocationURL() const;
    // The same, empty where the control does not say.
    CString TryGetLocationURL() const;
    // The document of the page shown, null where there is none (nothing
    // loaded, or no HTML engine).
    ComPtr<IDispatch> TryGetDocument() const;
    // Loads the page shown again from the network, nothing from the cache.
    HRESULT TryRefreshCompletely();
};
