#pragma once

#include <windows.h>

#include "CString.h"

class CWnd;

// The application: one global object of a class derived from CWinApp. The
// entry point calls its InitInstance, in which a dialog program does all its
// work, then ExitInstance, whose result ends the process.
class CWinApp
{
public:
    CWinApp() noexcept;
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Where the framework's own profile settings would live under
    // HKEY_CURRENT_USER\Software. This framework keeps no profile: nothing
    // is kept of it, and nothing is written there.
    void SetRegistryKey(const wchar_t* lpszRegistryKey);

    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp() noexcept;
CWnd* AfxGetMainWnd() noexcept;
HINSTANCE AfxGetResourceHandle() noexcept;
