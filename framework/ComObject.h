#pragma once

#include <windows.h>

// The reference count of a COM object on the heap, shared by every
// interface it implements; the last Release deletes it. The object answers
// QueryInterface itself.
// A COM object goes by Release, never by delete through an interface, whose
// destructor is not virtual by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
template <class... Interfaces>
class ComObject : public Interfaces...
{
public:
    ComObject() noexcept = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return static_cast<ULONG>(::InterlockedIncrement(&m_cRef)); }
    ULONG STDMETHODCALLTYPE Release() noexcept override
    {
        const LONG cRef = ::InterlockedDecrement(&m_cRef);
        if (cRef == 0)
            delete this;
        return static_cast<ULONG>(cRef);
    }

protected:
    virtual ~ComObject() = default;

private:
    LONG m_cRef = 0;
};
#pragma GCC diagnostic pop
