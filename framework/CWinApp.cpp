#include "CWinApp.h"

namespace
{
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp() noexcept
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::SetRegistryKey(const wchar_t*) {}

CWinApp* AfxGetApp() noexcept
{
    return g_pApp;
}

CWnd* AfxGetMainWnd() noexcept
{
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetResourceHandle() noexcept
{
    return ::GetModuleHandleW(nullptr);
}
