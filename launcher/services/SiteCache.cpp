#include "SiteCache.h"

#include "framework/UniqueHandle.h"

#include <wininet.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace
{

// Second-level labels under which names are registered, for the countries
// whose game portals the catalogue holds and a few more.
const wchar_t* const kTwoLevelSuffixes[] = {
    L"com.cn", L"net.cn", L"org.cn", L"gov.cn", L"edu.cn", L"ac.cn",  L"com.hk", L"net.hk",
    L"org.hk", L"com.tw", L"net.tw", L"org.tw", L"com.mo", L"co.uk",  L"org.uk", L"co.jp",
    L"ne.jp",  L"co.kr",  L"com.sg", L"com.my", L"com.au", L"net.au",
};

using UniqueCacheFind = UniqueHandle<HANDLE, NullHandleTraits<HANDLE, ::FindCloseUrlCache>>;

// The entries' addresses; a buffer grown to each entry's size.
std::vector<CString> CachedUrls()
{
    std::vector<CString> urls;
    std::vector<BYTE> buffer(4096);
    DWORD cb = static_cast<DWORD>(buffer.size());
    auto* pEntry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    UniqueCacheFind hFind(::FindFirstUrlCacheEntryW(nullptr, pEntry, &cb));
    if (!hFind && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER)
    {
        buffer.resize(cb);
        pEntry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
        hFind.Reset(::FindFirstUrlCacheEntryW(nullptr, pEntry, &cb));
    }
    if (!hFind)
        return urls;
    for (;;)
    {
        urls.emplace_back(pEntry->lpszSourceUrlName);
        cb = static_cast<DWORD>(buffer.size());
        if (::FindNextUrlCacheEntryW(hFind.Get(), pEntry, &cb))
            continue;
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return urls; // ERROR_NO_MORE_ITEMS
        buffer.resize(cb);
        pEntry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
        if (!::FindNextUrlCacheEntryW(hFind.Get(), pEntry, &cb))
            return urls;
    }
}

bool EndsWith(const CString& str, const CString& strEnd)
{
    const int n = str.GetLength();
    const int nEnd = strEnd.GetLength();
    return n >= nEnd && std::wcscmp(static_cast<const wchar_t*>(str) + (n - nEnd), strEnd) == 0;
}

bool IsAddressByNumber(const CString& strHost)
{
    const wchar_t* psz = strHost;
    if (*psz == L'[')
        return true; // IPv6
    for (; *psz; ++psz)
        if (!std::iswdigit(*psz) && *psz != L'.')
            return false;
    return true;
}

} // namespace

CSiteCache::CSiteCache(const CString& strPageUrl, const std::vector<CString>& shownUrls)
    : m_strDomain(RegistrableDomain(HostOf(strPageUrl)))
{
    if (!HasSite())
        return;
    for (const CString& strUrl : shownUrls)
    {
        const CString strDomain = RegistrableDomain(HostOf(strUrl));
        if (!strDomain.IsEmpty() && !IsOfSite(strUrl))
            m_shownDomains.push_back(strDomain);
    }
}

CString CSiteCache::HostOf(const CString& strUrl)
{
    const wchar_t* psz = strUrl;
    for (const wchar_t* lpszScheme : {L"http://", L"https://"})
    {
        const size_t cch = std::wcslen(lpszScheme);
        if (::CompareStringOrdinal(psz, static_cast<int>(std::min<size_t>(cch, std::wcslen(psz))), lpszScheme,
                                   static_cast<int>(cch), TRUE) != CSTR_EQUAL)
            continue;
        const wchar_t* pBegin = psz + cch;
        const wchar_t* pEnd = pBegin + std::wcscspn(pBegin, L"/?#");
        // user:password@host:port
        for (const wchar_t* p = pBegin; p < pEnd; ++p)
            if (*p == L'@')
                pBegin = p + 1;
        const wchar_t* pPort = pBegin;
        if (*pPort == L'[')
            pPort = std::wcschr(pPort, L']') ? std::wcschr(pPort, L']') : pEnd;
        while (pPort < pEnd && *pPort != L':')
            ++pPort;
        CString strHost(pBegin, static_cast<int>(pPort - pBegin));
        wchar_t* pszHost = strHost.GetBuffer(strHost.GetLength());
        ::CharLowerBuffW(pszHost, static_cast<DWORD>(std::wcslen(pszHost)));
        strHost.ReleaseBuffer();
        return strHost;
    }
    return CString();
}

CString CSiteCache::RegistrableDomain(const CString& strHost)
{
    if (strHost.IsEmpty() || IsAddressByNumber(strHost))
        return strHost;
    const wchar_t* psz = strHost;
    const wchar_t* pLast = std::wcsrchr(psz, L'.');
    if (!pLast)
        return strHost;
    const wchar_t* pBeforeLast = pLast;
    while (pBeforeLast > psz && pBeforeLast[-1] != L'.')
        --pBeforeLast;
    int nLabels = 2;
    for (const wchar_t* lpszSuffix : kTwoLevelSuffixes)
        if (std::wcscmp(pBeforeLast, lpszSuffix) == 0)
            nLabels = 3;
    // Back from the end over that many labels.
    const wchar_t* pStart = psz + strHost.GetLength();
    for (int n = 0; n < nLabels && pStart > psz; ++n)
    {
        --pStart;
        while (pStart > psz && pStart[-1] != L'.')
            --pStart;
    }
    return CString(pStart);
}

bool CSiteCache::IsOfSite(const CString& strUrl) const
{
    if (!HasSite())
        return false;
    const CString strHost = HostOf(strUrl);
    if (strHost.IsEmpty())
        return false;
    const auto isOf = [&](const CString& strDomain) {
        CString strSubdomains(L".");
        strSubdomains += strDomain;
        return std::wcscmp(strHost, strDomain) == 0 || EndsWith(strHost, strSubdomains);
    };
    if (isOf(m_strDomain))
        return true;
    for (const CString& strDomain : m_shownDomains)
        if (isOf(strDomain))
            return true;
    return false;
}

int CSiteCache::Remove() const
{
    int nRemoved = 0;
    for (const CString& strUrl : CachedUrls())
        nRemoved += IsOfSite(strUrl) && ::DeleteUrlCacheEntryW(strUrl);
    return nRemoved;
}
