// Another program that holds a file open for a while, as a virus scanner or
// a cloud-sync client does: hold_file <path> <milliseconds> [event]. It
// reads the file, letting others read it too, and sets the named event once
// it holds it.

#include "framework/UniqueHandle.h"

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const UniqueFileHandle hFile(
        ::CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (argc > 3)
    {
        const UniqueKernelHandle hEvent(::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]));
        if (hEvent)
            ::SetEvent(hEvent.Get());
    }
    ::Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    return hFile ? 0 : 1;
}
