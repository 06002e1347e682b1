#include "OrlimWeb.h"

#include "framework/COleControlContainer.h"
#include "framework/StartupMarks.h"
#include "launcher/OrlimWebDlg.h"

#include <commctrl.h>

COrlimWebApp theApp;

COrlimWebApp::COrlimWebApp() noexcept = default;

COrlimWebApp::~COrlimWebApp() = default;

BOOL COrlimWebApp::InitInstance()
{
    // Version 6 of the common controls (the manifest asks for it) draws the
    // program's controls and message boxes.
    INITCOMMONCONTROLSEX InitCtrls;
    InitCtrls.dwSize = sizeof(InitCtrls);
    InitCtrls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&InitCtrls);
    StartupMarks::Mark("common controls");

    CWinApp::InitInstance();
    AfxEnableControlContainer();
    SetRegistryKey(L"应用程序向导生成的本地应用程序");

    // The launcher is the main window before it runs: it creates its browser
    // pane without naming a parent, and the pane's parent is the main window.
    COrlimWebDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();

    // A confirmed close ends the process inside the dialog; only a launcher
    // that could not be created or initialised gets here.
    return FALSE;
}
