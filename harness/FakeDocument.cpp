#include "FakeDocument.h"

#include "framework/ComObject.h"

#include <functional>
#include <utility>

namespace
{

// An object whose members are known by name only, as a page's are.
class ScriptObject final : public ComObject<IDispatch>
{
public:
    using Member = std::function<HRESULT(DISPPARAMS* pParams, VARIANT* pResult)>;

    void Add(std::wstring name, Member member) { m_members.emplace_back(std::move(name), std::move(member)); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override
    {
        *ppv = (iid == IID_IUnknown || iid == IID_IDispatch) ? static_cast<IDispatch*>(this) : nullptr;
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override
    {
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT cNames, LCID, DISPID* pIds) override
    {
        for (size_t i = 0; i < m_members.size(); ++i)
            if (cNames == 1 && m_members[i].first == names[0])
            {
                pIds[0] = static_cast<DISPID>(i) + 1;
                return S_OK;
            }
        pIds[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pParams, VARIANT* pResult,
                                     EXCEPINFO*, UINT*) override
    {
        if (dispid < 1 || static_cast<size_t>(dispid) > m_members.size() || !pResult)
            return DISP_E_MEMBERNOTFOUND;
        return m_members[static_cast<size_t>(dispid - 1)].second(pParams, pResult);
    }

private:
    std::vector<std::pair<std::wstring, Member>> m_members;
};

HRESULT ReturnObject(const ComPtr<IDispatch>& pObject, VARIANT* pResult)
{
    pResult->vt = VT_DISPATCH;
    pResult->pdispVal = pObject.Get();
    pResult->pdispVal->AddRef();
    return S_OK;
}

ComPtr<IDispatch> MakeElement(const FakeElement& element)
{
    ComPtr<ScriptObject> pElement(new ScriptObject);
    pElement->Add(L"getAttribute", [attributes = element.attributes](DISPPARAMS* pParams, VARIANT* pResult) {
        if (pParams->cArgs != 1 || pParams->rgvarg[0].vt != VT_BSTR)
            return DISP_E_TYPEMISMATCH;
        const auto it = attributes.find(pParams->rgvarg[0].bstrVal);
        pResult->vt = it == attributes.end() ? VT_NULL : VT_BSTR;
        if (it != attributes.end())
            pResult->bstrVal = ::SysAllocString(it->second.c_str());
        return S_OK;
    });
    if (element.bInnerReachable)
    {
        ComPtr<ScriptObject> pWindow(new ScriptObject);
        const ComPtr<IDispatch> pInner = MakeFakeDocument(element.inner);
        pWindow->Add(L"document", [pInner](DISPPARAMS*, VARIANT* pResult) { return ReturnObject(pInner, pResult); });
        pElement->Add(L"contentWindow", [pWindow](DISPPARAMS*, VARIANT* pResult) {
            return ReturnObject(ComPtr<IDispatch>(pWindow.Get()), pResult);
        });
    }
    return ComPtr<IDispatch>(pElement.Get());
}

} // namespace

ComPtr<IDispatch> MakeFakeDocument(const std::vector<FakeElement>& elements)
{
    std::vector<std::pair<std::wstring, ComPtr<IDispatch>>> made;
    made.reserve(elements.size());
    for (const FakeElement& element : elements)
        made.emplace_back(element.tag, MakeElement(element));
    ComPtr<ScriptObject> pDocument(new ScriptObject);
    pDocument->Add(L"getElementsByTagName", [made](DISPPARAMS* pParams, VARIANT* pResult) {
        if (pParams->cArgs != 1 || pParams->rgvarg[0].vt != VT_BSTR)
            return DISP_E_TYPEMISMATCH;
        std::vector<ComPtr<IDispatch>> found;
        for (const auto& element : made)
            if (element.first == pParams->rgvarg[0].bstrVal)
                found.push_back(element.second);
        ComPtr<ScriptObject> pCollection(new ScriptObject);
        pCollection->Add(L"length", [n = static_cast<long>(found.size())](DISPPARAMS*, VARIANT* pLength) {
            pLength->vt = VT_I4;
            pLength->lVal = n;
            return S_OK;
        });
        pCollection->Add(L"item", [found](DISPPARAMS* pIndex, VARIANT* pItem) {
            if (pIndex->cArgs != 1 || pIndex->rgvarg[0].vt != VT_I4 || pIndex->rgvarg[0].lVal < 0 ||
                static_cast<size_t>(pIndex->rgvarg[0].lVal) >= found.size())
                return DISP_E_BADINDEX;
            return ReturnObject(found[static_cast<size_t>(pIndex->rgvarg[0].lVal)], pItem);
        });
        return ReturnObject(ComPtr<IDispatch>(pCollection.Get()), pResult);
    });
    return ComPtr<IDispatch>(pDocument.Get());
}
