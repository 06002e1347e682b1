#pragma once

#include "framework/CString.h"

#include <vector>

// The browser's cache entries of one site: the page's host and the other
// hosts of its registrable domain (for www.game.example.com, every host of
// example.com; for www.game.com.cn, of game.com.cn), and those of the
// domains the page shows things from (its frames, its game's Flash movie).
// The cache is shared with every other program that uses the browser:
// nothing else in it is touched, cookies included.
class CSiteCache
{
public:
    // The site of a page's address and of the addresses it shows things
    // from; empty for a page without a web host (nothing loaded yet).
    explicit CSiteCache(const CString& strPageUrl, const std::vector<CString>& shownUrls = {});

    bool HasSite() const noexcept { return !m_strDomain.IsEmpty(); }
    // The page's registrable domain.
    const CString& Domain() const noexcept { return m_strDomain; }
    // Whether an address is one of the site's (http: or https:).
    bool IsOfSite(const CString& strUrl) const;
    // Removes the site's entries; how many were removed.
    int Remove() const;

    // The host of a web address, in small letters; empty for none.
    static CString HostOf(const CString& strUrl);
    // The registrable part of a host name: its last two labels, or three
    // where the last two are a public suffix of their own (com.cn, co.uk);
    // an address given by number stands for itself.
    static CString RegistrableDomain(const CString& strHost);

private:
    CString m_strDomain;
    std::vector<CString> m_shownDomains; // besides the page's
};
