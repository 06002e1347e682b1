#include "RegisteredClass.h"

#include <stdexcept>

RegisteredClass::RegisteredClass(REFCLSID clsid) : m_hrOle(::OleInitialize(nullptr))
{
    if (FAILED(::CoRegisterClassObject(clsid, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_dwCookie)))
    {
        if (SUCCEEDED(m_hrOle))
            ::OleUninitialize();
        throw std::runtime_error("cannot register a fake class");
    }
}

RegisteredClass::~RegisteredClass()
{
    ::CoRevokeClassObject(m_dwCookie);
    if (SUCCEEDED(m_hrOle))
        ::OleUninitialize();
}

HRESULT STDMETHODCALLTYPE RegisteredClass::QueryInterface(REFIID iid, void** ppv)
{
    if (iid == IID_IUnknown || iid == IID_IClassFactory)
    {
        *ppv = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}
