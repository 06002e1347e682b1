#include "DocHostCommandTarget.h"

#include <oleauto.h>

namespace
{

// The group in which the browser's document asks its host what to do, among
// other things, about a script error (CGID_DocHostCommandHandler).
const GUID kCgidDocHostCommandHandler = {0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

bool IsDocHostGroup(const GUID* pguidCmdGroup) noexcept
{
    return pguidCmdGroup && *pguidCmdGroup == kCgidDocHostCommandHandler;
}

} // namespace

HRESULT STDMETHODCALLTYPE DocHostCommandTarget::QueryStatus(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[],
                                                            OLECMDTEXT*) noexcept
{
    if (!IsDocHostGroup(pguidCmdGroup))
        return OLECMDERR_E_UNKNOWNGROUP;
    if (cCmds == 0 || !prgCmds)
        return E_INVALIDARG;
    HRESULT hr = S_OK;
    for (ULONG i = 0; i < cCmds; ++i)
    {
        if (prgCmds[i].cmdID == OLECMDID_SHOWSCRIPTERROR)
        {
            prgCmds[i].cmdf = OLECMDF_SUPPORTED | OLECMDF_ENABLED;
        }
        else
        {
            prgCmds[i].cmdf = 0;
            hr = OLECMDERR_E_NOTSUPPORTED;
        }
    }
    return hr;
}

HRESULT STDMETHODCALLTYPE DocHostCommandTarget::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD, VARIANT*,
                                                     VARIANT* pvaOut) noexcept
{
    if (!IsDocHostGroup(pguidCmdGroup))
        return OLECMDERR_E_UNKNOWNGROUP;
    if (nCmdID != OLECMDID_SHOWSCRIPTERROR)
        return OLECMDERR_E_NOTSUPPORTED;
    // Answering S_OK keeps the browser's "script error" dialog away;
    // VARIANT_TRUE lets the page's scripts go on running.
    if (pvaOut)
    {
        ::VariantClear(pvaOut);
        pvaOut->vt = VT_BOOL;
        pvaOut->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}
