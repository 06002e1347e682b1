#pragma once

#include <windows.h>

// A function of a system DLL that older systems do not have: null there.
// The DLL is one every process has loaded (kernel32, user32, ntdll).
template <class Fn>
Fn SystemFunction(const wchar_t* lpszModule, const char* lpszName) noexcept
{
    const HMODULE hModule = ::GetModuleHandleW(lpszModule);
    // FARPROC stands for any signature: the cast through void(*)() says so.
    return hModule ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, lpszName)))
                   : nullptr;
}
