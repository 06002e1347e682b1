#include "DispatchArgs.h"

#include "CString.h"
#include "UniqueBstr.h"

#include <oleauto.h>

#include <new>

DispatchArgs::~DispatchArgs()
{
    for (VARIANT& v : m_args)
        ::VariantClear(&v);
}

void DispatchArgs::Add(const CString& str)
{
    UniqueBstr bstr(str, static_cast<UINT>(str.GetLength()));
    if (!bstr.Get())
        throw std::bad_alloc();
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BSTR;
    m_args.push_back(v);
    m_args.back().bstrVal = bstr.Detach(); // from here on the list frees it
}

void DispatchArgs::Add(VARIANT* pvar)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = pvar;
    m_args.push_back(v);
}

void DispatchArgs::Add(long lValue)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = lValue;
    m_args.push_back(v);
}

DISPPARAMS DispatchArgs::GetDispParams()
{
    m_reversed.assign(m_args.rbegin(), m_args.rend());
    DISPPARAMS dp = {};
    dp.rgvarg = m_reversed.empty() ? nullptr : m_reversed.data();
    dp.cArgs = static_cast<UINT>(m_reversed.size());
    return dp;
}
