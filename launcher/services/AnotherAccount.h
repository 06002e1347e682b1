#pragma once

#include "framework/CString.h"
#include "framework/UniqueHandle.h"

#include <windows.h>
#include <wininet.h>

// A launcher for another account: started from the menu of one, from the
// same program and folder, with logins of its own. Session cookies are
// each process's own in the browser; such a launcher also keeps the
// persistent ones its pages set to itself, and they are gone when it ends.
// Persistent cookies stored before (a login a site was asked to remember)
// are the user's, and every launcher sends them: no setting of a process
// keeps stored ones from being sent.
//
// Each new launcher opens a caption's height below and right of the last
// one this launcher started that is still open (or of this one), so that
// several started in a row stand apart.
class CAnotherAccount
{
public:
    // The system's option call, unless a test stands in for it (Wine's
    // takes the option and does nothing with it).
    static BOOL(WINAPI* s_pfnSetOption)(HINTERNET, DWORD, LPVOID, DWORD);

    // Whether this launcher was started as one, and where the launcher that
    // started it stood. The mark is taken out of the environment: nothing
    // this launcher starts inherits it.
    static bool IsStartedAsOne(POINT* pptFrom);
    // The browser of this process keeps its pages' cookies to itself
    // (INTERNET_SUPPRESS_COOKIE_PERSIST): to be done before the browser
    // control is created.
    static void KeepCookiesToItself();
    // Starts another launcher of this program in strFolder, marked with
    // where it is to stand; false when it could not be started.
    bool Start(HWND hWnd, const CString& strFolder);

private:
    // The last launcher started, while it runs, and where it was to stand.
    UniqueKernelHandle m_hLast;
    DWORD m_dwLastProcessId = 0;
    POINT m_ptLast = {};
};
