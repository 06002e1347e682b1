#include "ScreenOfSize.h"

#include "harness/TestHandles.h"

#include <string>

ScreenOfSize::ScreenOfSize(int cx, int cy)
{
    // Wine makes a virtual desktop of the size its settings give the name.
    const std::wstring size = std::to_wstring(cx) + L"x" + std::to_wstring(cy);
    const std::wstring name = L"Orlim" + size;
    UniqueRegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(size.c_str()),
                     static_cast<DWORD>(size.size() + 1) * sizeof(wchar_t));
    // Kept for the process's life: its windows live on it.
    const HDESK hDesktop = ::CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    m_bInPlace = hDesktop && ::SetThreadDesktop(hDesktop);
}
