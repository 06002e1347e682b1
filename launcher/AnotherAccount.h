#pragma once

#include "framework/CString.h"

#include <windows.h>

// A launcher for another account: started from the menu of one, from the
// same program and folder, with logins of its own. Session cookies are
// each process's own in the browser; such a launcher also keeps the
// persistent ones its pages set to itself, and they are gone when it ends.
class CAnotherAccount
{
public:
    // Whether this launcher was started as one, and where the launcher that
    // started it stood. The mark is taken out of the environment: nothing
    // this launcher starts inherits it.
    static bool IsStartedAsOne(POINT* pptFrom);
    // The browser of this process keeps its pages' cookies to itself
    // (INTERNET_SUPPRESS_COOKIE_PERSIST): to be done before the browser
    // control is created.
    static void KeepCookiesToItself();
    // Starts another launcher of this program in strFolder, marked with
    // where hWnd stands; false when it could not be started.
    static bool Start(HWND hWnd, const CString& strFolder);
};
