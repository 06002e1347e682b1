/* Keeps Wine's services running between test processes, so that each
   process starts in milliseconds and ctest is not held up by services
   inheriting its output pipes. */
#include <windows.h>

int main(void)
{
    Sleep(INFINITE);
    return 0;
}
