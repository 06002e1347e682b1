#pragma once

#include <windows.h>

// A class object that is the given class of this process while it lives,
// with OLE initialised on the thread for it: what the program creates of the
// class comes from the derived class's CreateInstance. Its reference count
// never frees: the object lives on the test's stack.
// A COM object goes by Release, never by delete through an interface, whose
// destructor is not virtual by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class RegisteredClass : public IClassFactory
{
public:
    RegisteredClass(const RegisteredClass&) = delete;
    RegisteredClass& operator=(const RegisteredClass&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

protected:
    // Throws std::runtime_error when the class cannot be registered.
    explicit RegisteredClass(REFCLSID clsid);
    virtual ~RegisteredClass();

private:
    HRESULT m_hrOle;
    DWORD m_dwCookie = 0;
};
#pragma GCC diagnostic pop
