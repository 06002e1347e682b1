#include "FlashStatus.h"

#include "framework/UniqueHandle.h"

#include <vector>

namespace
{

const wchar_t kProgId[] = L"ShockwaveFlash.ShockwaveFlash\\CLSID";
const wchar_t kFlashClsid[] = L"{D27CDB6E-AE6D-11CF-96B8-444553540000}";
const wchar_t kKillBitKey[] =
    L"Software\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\{D27CDB6E-AE6D-11CF-96B8-444553540000}";
const DWORD kKillBit = 0x400;

// A string value of a key (the default value for a null name), or empty.
CString ReadString(HKEY hRoot, const wchar_t* lpszKey, const wchar_t* lpszName)
{
    UniqueRegKey key;
    if (::RegOpenKeyExW(hRoot, lpszKey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return CString();
    wchar_t szValue[MAX_PATH * 2] = {};
    DWORD cbValue = sizeof(szValue) - sizeof(wchar_t);
    DWORD dwType = 0;
    if (::RegQueryValueExW(key.Get(), lpszName, nullptr, &dwType, reinterpret_cast<BYTE*>(szValue), &cbValue) !=
            ERROR_SUCCESS ||
        (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return CString();
    if (dwType == REG_SZ)
        return CString(szValue);
    wchar_t szExpanded[MAX_PATH * 2] = {};
    return ::ExpandEnvironmentStringsW(szValue, szExpanded, MAX_PATH * 2) ? CString(szExpanded) : CString();
}

bool IsKillBitSet()
{
    UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKillBitKey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return false;
    DWORD dwFlags = 0;
    DWORD cbFlags = sizeof(dwFlags);
    DWORD dwType = 0;
    return ::RegQueryValueExW(key.Get(), L"Compatibility Flags", nullptr, &dwType, reinterpret_cast<BYTE*>(&dwFlags),
                              &cbFlags) == ERROR_SUCCESS &&
           dwType == REG_DWORD && (dwFlags & kKillBit);
}

bool ReadFileVersion(const wchar_t* lpszPath, WORD wVersion[4])
{
    DWORD dwHandle = 0;
    const DWORD cb = ::GetFileVersionInfoSizeW(lpszPath, &dwHandle);
    std::vector<BYTE> info(cb);
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT cbFixed = 0;
    if (!cb || !::GetFileVersionInfoW(lpszPath, 0, cb, info.data()) ||
        !::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&pFixed), &cbFixed) || !pFixed)
        return false;
    wVersion[0] = HIWORD(pFixed->dwFileVersionMS);
    wVersion[1] = LOWORD(pFixed->dwFileVersionMS);
    wVersion[2] = HIWORD(pFixed->dwFileVersionLS);
    wVersion[3] = LOWORD(pFixed->dwFileVersionLS);
    return true;
}

// A version as one number, for comparing.
unsigned long long VersionNumber(const WORD wVersion[4])
{
    return (static_cast<unsigned long long>(wVersion[0]) << 48) | (static_cast<unsigned long long>(wVersion[1]) << 32) |
           (static_cast<unsigned long long>(wVersion[2]) << 16) | wVersion[3];
}

// Global builds from 32.0.0.387 on are known to stop playing; of those
// between 32.0.0.345 and 32.0.0.386 no authoritative source says (projects
// that still play Flash pin 32.0.0.371). The builds for mainland China (34
// and on) play on.
const unsigned long long kFirstUncertainBuild = (32ULL << 48) | 345;
const unsigned long long kFirstStoppedBuild = (32ULL << 48) | 387;

CFlashStatus::State StateOfBuild(const WORD wVersion[4])
{
    const unsigned long long nVersion = VersionNumber(wVersion);
    if (wVersion[0] >= 34 || nVersion < kFirstUncertainBuild)
        return CFlashStatus::State::Usable;
    return nVersion < kFirstStoppedBuild ? CFlashStatus::State::Uncertain : CFlashStatus::State::Expired;
}

} // namespace

CFlashStatus CFlashStatus::Detect()
{
    CFlashStatus status;
    const CString strClsid = ReadString(HKEY_CLASSES_ROOT, kProgId, nullptr);
    if (::CompareStringOrdinal(strClsid, -1, kFlashClsid, -1, TRUE) != CSTR_EQUAL)
        return status;
    CString strServerKey;
    strServerKey.Format(L"CLSID\\%ls\\InprocServer32", kFlashClsid);
    const CString strPath = ReadString(HKEY_CLASSES_ROOT, strServerKey, nullptr);
    if (strPath.IsEmpty())
        return status;
    if (::GetFileAttributesW(strPath) == INVALID_FILE_ATTRIBUTES)
    {
        status.state = State::FileMissing;
        return status;
    }
    ReadFileVersion(strPath, status.wVersion);
    status.state = IsKillBitSet() ? State::Disabled : StateOfBuild(status.wVersion);
    return status;
}

CString CFlashStatus::MenuText() const
{
    CString strVersion(L"Flash Player");
    if (wVersion[0] || wVersion[1] || wVersion[2] || wVersion[3])
        strVersion.Format(L"Flash Player %u.%u.%u.%u", wVersion[0], wVersion[1], wVersion[2], wVersion[3]);
    CString strText;
    switch (state)
    {
    case State::Usable:
        return strVersion;
    case State::NotRegistered:
        return CString(L"Flash Player：未安装");
    case State::FileMissing:
        return CString(L"Flash Player：文件缺失");
    case State::Disabled:
        strText.Format(L"%ls：已被系统禁用", static_cast<const wchar_t*>(strVersion));
        return strText;
    case State::Uncertain:
        strText.Format(L"%ls（可能无法播放）", static_cast<const wchar_t*>(strVersion));
        return strText;
    case State::Expired:
        strText.Format(L"%ls：已停止播放", static_cast<const wchar_t*>(strVersion));
        return strText;
    }
    return strText;
}

CString CFlashStatus::NoticeText() const
{
    switch (state)
    {
    case State::Usable:
    case State::Uncertain:
        return CString();
    case State::NotRegistered:
    case State::FileMissing:
        return CString(L"未检测到可用的 Flash Player（ActiveX），游戏无法显示");
    case State::Disabled:
        return CString(L"Flash Player（ActiveX）已被系统禁用，游戏无法显示");
    case State::Expired:
        return CString(L"此版本 Flash Player 已停止播放，游戏无法显示");
    }
    return CString();
}
