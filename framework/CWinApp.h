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

    // Records where the framework's own profile settings would live under
    // HKEY_CURRENT_USER\Software; nothing is written there.
    void SetRegistryKey(const wchar_t* lpszRegistryKey);

    CWnd* m_pMainWnd = nullptr;
    CString m_strRegistryKey;
};

CWinApp* AfxGetApp() noexcept;
CWnd* AfxGetMainWnd() noexcept;
HINSTANCE AfxGetResourceHandle() noexcept;
