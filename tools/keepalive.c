/* Keeps Wine's services and its desktop running between test processes, so
   that each process starts in milliseconds (not after the services and the
   desktop start again) and ctest is not held up by services inheriting its
   output pipes. The hidden window holds the desktop: Wine closes a desktop
   that no process uses any more. */
#include <windows.h>

int main(void)
{
    MSG msg;
    CreateWindowExA(0, "STATIC", "keepalive", WS_POPUP, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
