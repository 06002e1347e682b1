#include "DispatchArgs.h"

#include "CString.h"

#include <oleauto.h>

#include <new>

DispatchArgs::~DispatchArgs()
{
    for (VARIANT& v : m_args)
        ::VariantClear(&v);
}

void DispatchArgs::Add(const CString& str)
{
    m_args.reserve(m_args.size() + 1); // so that the push cannot fail and leak the string
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = ::SysAllocStringLen(str, static_cast<UINT>(str.GetLength()));
    if (!v.bstrVal)
        throw std::bad_alloc();
    m_args.push_back(v);
}

void DispatchArgs::Add(VARIANT* pvar)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = pvar;
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
