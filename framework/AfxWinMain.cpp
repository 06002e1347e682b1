// The program's entry point: runs the global application object.

#include "CWinApp.h"
#include "StartupMarks.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    StartupMarks::Mark("entry");
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    // The program does its work inside InitInstance (a dialog program runs
    // its dialog there); no message loop runs after it, whatever it answers.
    pApp->InitInstance();
    return pApp->ExitInstance();
}
