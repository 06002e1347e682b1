#include "FlashRegistration.h"

#include "ChildProcess.h"
#include "TestHandles.h"

#include <windows.h>

namespace
{

const wchar_t kFlashClsid[] = L"{D27CDB6E-AE6D-11CF-96B8-444553540000}";
const wchar_t kCompatibility[] = L"Software\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";

UniqueRegKey Create(const std::wstring& key)
{
    UniqueRegKey hKey;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, hKey.Put(), nullptr);
    return hKey;
}

void SetString(const std::wstring& key, const std::wstring& value)
{
    const UniqueRegKey hKey(Create(key));
    ::RegSetValueExW(hKey.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1) * sizeof(wchar_t));
}

} // namespace

FlashRegistration::FlashRegistration(const std::wstring& path, bool bKillBit)
{
    SetString(L"Software\\Classes\\ShockwaveFlash.ShockwaveFlash\\CLSID", kFlashClsid);
    SetString(L"Software\\Classes\\CLSID\\" + std::wstring(kFlashClsid) + L"\\InprocServer32", path);
    if (bKillBit)
    {
        const UniqueRegKey key(Create(kCompatibility + std::wstring(kFlashClsid)));
        const DWORD dwFlags = 0x400;
        ::RegSetValueExW(key.Get(), L"Compatibility Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwFlags),
                         sizeof(dwFlags));
    }
}

FlashRegistration::~FlashRegistration()
{
    for (const std::wstring& key :
         {std::wstring(L"Software\\Classes\\ShockwaveFlash.ShockwaveFlash"),
          L"Software\\Classes\\CLSID\\" + std::wstring(kFlashClsid), kCompatibility + std::wstring(kFlashClsid)})
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
}

std::wstring FlashRegistration::StandIn(const std::wstring& version)
{
    std::wstring name = L"flash_" + version + L".dll";
    for (wchar_t& c : name)
        if (c == L'.' && &c != &name[name.size() - 4])
            c = L'_';
    return BuildDirectory() + L"\\harness\\" + name;
}
