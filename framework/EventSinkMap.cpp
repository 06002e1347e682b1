#include "EventSinkMap.h"

#include "COleDispatchException.h"
#include "CWnd.h"

#include <oleauto.h>

#include <cstring>
#include <vector>

namespace
{

const AFX_EVENTSINKMAP_ENTRY* FindEntry(const CWnd* pTarget, UINT nCtlID, DISPID dispid) noexcept
{
    for (const AFX_EVENTSINKMAP* pMap = pTarget->GetEventSinkMap(); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_EVENTSINKMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfn; ++pEntry)
            if (nCtlID >= pEntry->nCtlID && nCtlID <= pEntry->nLastCtlID && pEntry->dispid == dispid)
                return pEntry;
    }
    return nullptr;
}

// The handler's arguments; by-value ones are converted copies, cleared here.
class EventParams
{
public:
    explicit EventParams(size_t n) : m_params(n), m_owned(n, false) {}
    EventParams(const EventParams&) = delete;
    EventParams& operator=(const EventParams&) = delete;
    ~EventParams()
    {
        for (size_t i = 0; i < m_params.size(); ++i)
            if (m_owned[i])
                ::VariantClear(&m_params[i].var);
    }

    // Takes argument i as the type the map names; FALSE if it cannot be.
    bool Set(size_t i, VARIANT& src, BYTE vts)
    {
        AFX_EVENTPARAM& param = m_params[i];
        if (vts & VT_MFCBYREF)
        {
            const VARTYPE vt = static_cast<VARTYPE>(VT_BYREF | (vts & ~VT_MFCBYREF));
            if (src.vt != vt || !src.byref)
                return false;
            param.var = src;
            if (vt == (VT_BYREF | VT_BOOL))
                param.bValue = *src.pboolVal != VARIANT_FALSE;
            return true;
        }
        ::VariantInit(&param.var);
        m_owned[i] = true;
        return SUCCEEDED(::VariantChangeType(&param.var, &src, 0, vts));
    }

    AFX_EVENTPARAM* Data() noexcept { return m_params.data(); }

    // Hands what the handler set behind BOOL* parameters back to the caller.
    void WriteBack(DISPPARAMS* pDispParams) noexcept
    {
        const size_t n = m_params.size();
        for (size_t i = 0; i < n; ++i)
        {
            VARIANT& src = pDispParams->rgvarg[n - 1 - i];
            if (!m_owned[i] && src.vt == (VT_BYREF | VT_BOOL))
                *src.pboolVal = m_params[i].bValue ? VARIANT_TRUE : VARIANT_FALSE;
        }
    }

private:
    std::vector<AFX_EVENTPARAM> m_params;
    std::vector<bool> m_owned;
};

void FillExcepInfo(EXCEPINFO* pExcepInfo, const wchar_t* pszDescription, SCODE sc) noexcept
{
    if (!pExcepInfo)
        return;
    *pExcepInfo = EXCEPINFO{};
    pExcepInfo->bstrDescription = ::SysAllocString(pszDescription);
    pExcepInfo->scode = sc;
}

} // namespace

HRESULT AfxDispatchEvent(CWnd* pTarget, UINT nCtlID, DISPID dispid, DISPPARAMS* pDispParams, EXCEPINFO* pExcepInfo,
                         UINT* puArgErr) noexcept
{
    const AFX_EVENTSINKMAP_ENTRY* pEntry = FindEntry(pTarget, nCtlID, dispid);
    if (!pEntry)
        return S_OK; // an event nobody listens to

    const size_t nParams = std::strlen(pEntry->pbParamInfo);
    if (pDispParams->cArgs != nParams || pDispParams->cNamedArgs != 0)
        return DISP_E_BADPARAMCOUNT;
    try
    {
        EventParams params(nParams);
        // Arguments arrive last first.
        for (size_t i = 0; i < nParams; ++i)
        {
            const UINT nArg = static_cast<UINT>(nParams - 1 - i);
            if (!params.Set(i, pDispParams->rgvarg[nArg], static_cast<BYTE>(pEntry->pbParamInfo[i])))
            {
                if (puArgErr)
                    *puArgErr = nArg;
                return DISP_E_TYPEMISMATCH;
            }
        }
        pEntry->pfn(pTarget, nCtlID, params.Data());
        params.WriteBack(pDispParams);
        return S_OK;
    }
    catch (const COleDispatchException& e)
    {
        FillExcepInfo(pExcepInfo, e.m_strDescription, e.m_sc);
    }
    catch (const COleException& e)
    {
        FillExcepInfo(pExcepInfo, nullptr, e.m_sc);
    }
    catch (...)
    {
        FillExcepInfo(pExcepInfo, nullptr, E_FAIL);
    }
    return DISP_E_EXCEPTION;
}
