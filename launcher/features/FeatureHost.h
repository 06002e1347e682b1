#pragma once

#include "launcher/settings/Options.h"
#include "framework/CString.h"
#include "framework/ComPtr.h"

#include <windows.h>
#include <oaidl.h>

class CPageZoom;

// What the window that hosts the launcher's features gives them.
class CFeatureHost
{
public:
    // The launcher's window: its timers and messages.
    virtual HWND Window() const = 0;
    // The folder the launcher was started in, and the one its settings file
    // is kept in (the same, unless the first cannot be written).
    virtual const CString& StartFolder() const = 0;
    virtual const CString& SettingsFolder() const = 0;

    // "[options]" as it was at start, and a change saved at once (a null
    // value removes the key).
    virtual const COptions& Options() const = 0;
    virtual void SaveOption(const wchar_t* lpszKey, const wchar_t* lpszValue) = 0;

    // The page shown: its zoom, its address and document, loaded anew.
    virtual CPageZoom& Zoom() = 0;
    virtual CString PageUrl() const = 0;
    virtual ComPtr<IDispatch> PageDocument() const = 0;
    virtual void ReloadPage(bool bCompletely) = 0;
    // The game's window (null while none shows), and what the launcher shows
    // of it on the screen, or all the pane shows when there is none.
    virtual HWND FindGame() const = 0;
    virtual RECT GameArea() const = 0;
    // The keyboard goes to the game (or the page, while no game shows).
    virtual void FocusGame() = 0;
    // Back to the base size, as with no game to fit to.
    virtual void ApplyBaseLayout() = 0;
    // What the notice line shows changed.
    virtual void NoticeChanged() = 0;

protected:
    ~CFeatureHost() = default;
};
