#pragma once

#include <windows.h>
#include <strsafe.h>

// A function of a system DLL, or null where the system has none. A DLL
// that is not loaded yet is loaded from the system folder and stays for
// the process's life: only what needs it pays for loading it.
template <class Fn>
Fn SystemFunction(const wchar_t* lpszModule, const char* lpszName) noexcept
{
    HMODULE hModule = ::GetModuleHandleW(lpszModule);
    wchar_t szPath[MAX_PATH];
    const UINT cchFolder = ::GetSystemDirectoryW(szPath, MAX_PATH);
    if (!hModule && cchFolder > 0 && cchFolder < MAX_PATH &&
        SUCCEEDED(::StringCchPrintfW(szPath + cchFolder, MAX_PATH - cchFolder, L"\\%ls", lpszModule)))
        hModule = ::LoadLibraryW(szPath);
    // FARPROC stands for any signature: the cast through void(*)() says so.
    return hModule ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, lpszName))) : nullptr;
}
