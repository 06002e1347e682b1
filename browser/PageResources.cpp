#include "PageResources.h"

#include "framework/ComPtr.h"
#include "framework/UniqueBstr.h"
#include "framework/UniqueVariant.h"

#include <urlmon.h>
#include <wininet.h>

#include <cwchar>

namespace
{

// Frames within frames are looked into this deep.
const int kFrameDepth = 3;

// A member of an object, by name: a property read, or a method called with
// one argument (or none).
HRESULT CallByName(IDispatch* pObject, const wchar_t* lpszName, WORD wFlags, VARIANT* pArg, VARIANT* pResult)
{
    DISPID dispid = DISPID_UNKNOWN;
    LPOLESTR pszName = const_cast<LPOLESTR>(lpszName);
    HRESULT hr = pObject->GetIDsOfNames(IID_NULL, &pszName, 1, LOCALE_USER_DEFAULT, &dispid);
    if (FAILED(hr))
        return hr;
    DISPPARAMS params = {pArg, nullptr, pArg ? 1U : 0U, 0};
    return pObject->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params, pResult, nullptr, nullptr);
}

ComPtr<IDispatch> ObjectOf(IDispatch* pObject, const wchar_t* lpszName, VARIANT* pArg = nullptr)
{
    UniqueVariant result;
    const WORD wFlags = pArg ? DISPATCH_METHOD : DISPATCH_PROPERTYGET;
    if (FAILED(CallByName(pObject, lpszName, wFlags, pArg, result.Get())) ||
        FAILED(::VariantChangeType(result.Get(), result.Get(), 0, VT_DISPATCH)))
        return nullptr;
    return ComPtr<IDispatch>(result.Get()->pdispVal);
}

CString TextOf(IDispatch* pObject, const wchar_t* lpszName, VARIANT* pArg = nullptr)
{
    UniqueVariant result;
    const WORD wFlags = pArg ? DISPATCH_METHOD : DISPATCH_PROPERTYGET;
    if (FAILED(CallByName(pObject, lpszName, wFlags, pArg, result.Get())) || result.Get()->vt != VT_BSTR ||
        !result.Get()->bstrVal)
        return CString();
    return CString(result.Get()->bstrVal, static_cast<int>(::SysStringLen(result.Get()->bstrVal)));
}

CString Attribute(IDispatch* pElement, const wchar_t* lpszName)
{
    const UniqueBstr name(lpszName, static_cast<UINT>(std::wcslen(lpszName)));
    VARIANT varName;
    varName.vt = VT_BSTR;
    varName.bstrVal = name.Get();
    return TextOf(pElement, L"getAttribute", &varName);
}

// The document's elements of a tag.
std::vector<ComPtr<IDispatch>> Elements(IDispatch* pDocument, const wchar_t* lpszTag)
{
    std::vector<ComPtr<IDispatch>> elements;
    const UniqueBstr tag(lpszTag, static_cast<UINT>(std::wcslen(lpszTag)));
    VARIANT varTag;
    varTag.vt = VT_BSTR;
    varTag.bstrVal = tag.Get();
    const ComPtr<IDispatch> pCollection = ObjectOf(pDocument, L"getElementsByTagName", &varTag);
    UniqueVariant length;
    if (!pCollection || FAILED(CallByName(pCollection.Get(), L"length", DISPATCH_PROPERTYGET, nullptr, length.Get())) ||
        FAILED(::VariantChangeType(length.Get(), length.Get(), 0, VT_I4)))
        return elements;
    for (long i = 0; i < length.Get()->lVal; ++i)
    {
        VARIANT varIndex;
        varIndex.vt = VT_I4;
        varIndex.lVal = i;
        if (ComPtr<IDispatch> pElement = ObjectOf(pCollection.Get(), L"item", &varIndex))
            elements.push_back(std::move(pElement));
    }
    return elements;
}

// An address as the page writes it, made whole against the page's; empty
// for none.
CString Whole(const CString& strBase, const CString& strUrl)
{
    if (strUrl.IsEmpty())
        return strUrl;
    wchar_t szWhole[INTERNET_MAX_URL_LENGTH];
    DWORD cchWhole = 0;
    if (FAILED(::CoInternetCombineUrl(strBase, strUrl, 0, szWhole, INTERNET_MAX_URL_LENGTH, &cchWhole, 0)))
        return strUrl;
    return CString(szWhole);
}

void Collect(IDispatch* pDocument, const CString& strBase, int nDepth, std::vector<CString>& urls)
{
    for (const wchar_t* lpszTag : {L"iframe", L"frame"})
        for (const ComPtr<IDispatch>& pFrame : Elements(pDocument, lpszTag))
        {
            const CString strFrame = Whole(strBase, Attribute(pFrame.Get(), L"src"));
            if (!strFrame.IsEmpty())
                urls.push_back(strFrame);
            // A frame of the page's own site lets the page look inside.
            const ComPtr<IDispatch> pWindow = ObjectOf(pFrame.Get(), L"contentWindow");
            const ComPtr<IDispatch> pInner = pWindow ? ObjectOf(pWindow.Get(), L"document") : nullptr;
            if (pInner && nDepth < kFrameDepth)
                Collect(pInner.Get(), strFrame.IsEmpty() ? strBase : strFrame, nDepth + 1, urls);
        }
    for (const ComPtr<IDispatch>& pEmbed : Elements(pDocument, L"embed"))
        urls.push_back(Whole(strBase, Attribute(pEmbed.Get(), L"src")));
    for (const ComPtr<IDispatch>& pObject : Elements(pDocument, L"object"))
        urls.push_back(Whole(strBase, Attribute(pObject.Get(), L"data")));
    for (const ComPtr<IDispatch>& pParam : Elements(pDocument, L"param"))
    {
        const CString strName = Attribute(pParam.Get(), L"name");
        if (::CompareStringOrdinal(strName, -1, L"movie", -1, TRUE) == CSTR_EQUAL ||
            ::CompareStringOrdinal(strName, -1, L"src", -1, TRUE) == CSTR_EQUAL)
            urls.push_back(Whole(strBase, Attribute(pParam.Get(), L"value")));
    }
}

} // namespace

std::vector<CString> CPageResources::UrlsOf(IDispatch* pDocument, const CString& strPageUrl)
{
    std::vector<CString> urls;
    if (pDocument)
        Collect(pDocument, strPageUrl, 1, urls);
    std::vector<CString> named;
    for (CString& strUrl : urls)
        if (!strUrl.IsEmpty())
            named.push_back(std::move(strUrl));
    return named;
}
