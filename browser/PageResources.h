#pragma once

#include "framework/CString.h"

#include <oaidl.h>

#include <vector>

// The addresses a page's document names for what it shows from elsewhere:
// its frames (and theirs, where the browser lets the page reach into them)
// and the Flash movie of an embed or object element. A game often comes
// from another host than the portal page it is shown in. Read through the
// document's IDispatch, by name, as a script reads it.
class CPageResources
{
public:
    // The web addresses, made whole against the page's own; none for a
    // null document.
    static std::vector<CString> UrlsOf(IDispatch* pDocument, const CString& strPageUrl);
};
