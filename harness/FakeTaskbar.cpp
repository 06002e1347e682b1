#include "FakeTaskbar.h"

FakeTaskbar::FakeTaskbar() : RegisteredClass(CLSID_TaskbarList) {}

HRESULT STDMETHODCALLTYPE FakeTaskbar::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv)
{
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    if (riid == IID_IUnknown || riid == IID_ITaskbarList || riid == IID_ITaskbarList2)
    {
        *ppv = static_cast<ITaskbarList2*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE FakeTaskbar::QueryInterface(REFIID iid, void** ppv)
{
    if (iid == IID_IClassFactory)
        return RegisteredClass::QueryInterface(iid, ppv);
    return CreateInstance(nullptr, iid, ppv);
}
