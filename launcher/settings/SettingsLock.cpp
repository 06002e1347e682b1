#include "SettingsLock.h"

#include "framework/CString.h"
#include "framework/UniqueHandle.h"

#include <sddl.h>

#include <cwchar>

namespace
{

// The name the launchers of one file share: the file's full path, whatever
// its letter case, boiled down (FNV-1a) to fit a name.
CString TurnName(const wchar_t* lpszFile)
{
    CString strUpper(lpszFile);
    wchar_t* psz = strUpper.GetBuffer(strUpper.GetLength());
    ::CharUpperBuffW(psz, static_cast<DWORD>(std::wcslen(psz)));
    unsigned long long ullHash = 14695981039346656037ULL;
    for (const wchar_t* p = psz; *p; ++p)
        ullHash = (ullHash ^ static_cast<unsigned short>(*p)) * 1099511628211ULL;
    strUpper.ReleaseBuffer();
    CString strName;
    strName.Format(L"Local\\OrlimWeb.Settings.%016llx", ullHash);
    return strName;
}

// Launchers run as administrator and launchers run as the player share the
// turn: whichever makes it lets every program wait for it and take it (the
// system's default would keep it to the one that made it).
class TurnSecurity
{
public:
    TurnSecurity()
    {
        PSECURITY_DESCRIPTOR pDescriptor = nullptr;
        if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x00100001;;;WD)S:(ML;;NW;;;LW)",
                                                                   SDDL_REVISION_1, &pDescriptor, nullptr))
            m_descriptor.Reset(pDescriptor);
        m_attributes.lpSecurityDescriptor = m_descriptor.Get();
    }
    // Null where the descriptor could not be made: the system's default.
    SECURITY_ATTRIBUTES* Get() noexcept { return m_descriptor ? &m_attributes : nullptr; }

private:
    UniqueLocal m_descriptor;
    SECURITY_ATTRIBUTES m_attributes = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

} // namespace

CSettingsLock::CSettingsLock(const wchar_t* lpszFile, DWORD dwWaitMs, ScopedMutex::CreateFn pfnCreate,
                             ScopedMutex::ReleaseFn pfnRelease)
    : m_mutex(TurnName(lpszFile), dwWaitMs, TurnSecurity().Get(), pfnCreate, pfnRelease)
{
}
