/* A stand-in for the Flash Player's ActiveX file: a DLL with nothing in it
   but its version block, so that a test can register it and the launcher can
   read its version. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved)
{
    (void)hInstance;
    (void)dwReason;
    (void)lpReserved;
    return TRUE;
}
