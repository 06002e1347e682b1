#include "ProxySetting.h"

#include "harness/TestHandles.h"

#include <windows.h>

#include <stdexcept>

namespace
{

const wchar_t kInternetSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

UniqueRegKey OpenSettings()
{
    UniqueRegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.Put(),
                          nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot open the Internet settings");
    return key;
}

void SetServer(HKEY hKey, const std::wstring& server)
{
    const DWORD enable = 1;
    ::RegSetValueExW(hKey, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof(enable));
    ::RegSetValueExW(hKey, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                     static_cast<DWORD>(server.size() + 1) * sizeof(wchar_t));
}

} // namespace

ProxySetting::ProxySetting(unsigned short port)
{
    const UniqueRegKey key = OpenSettings();
    wchar_t buffer[256] = {};
    DWORD cb = sizeof(buffer) - sizeof(wchar_t);
    if (::RegQueryValueExW(key.Get(), L"ProxyServer", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &cb) ==
        ERROR_SUCCESS)
        m_previousServer = buffer;
    SetServer(key.Get(), L"127.0.0.1:" + std::to_wstring(port));
}

ProxySetting::~ProxySetting()
{
    try
    {
        if (!m_previousServer.empty())
            SetServer(OpenSettings().Get(), m_previousServer);
    }
    catch (const std::exception&)
    {
        // The prefix keeps a loopback proxy either way.
    }
}
