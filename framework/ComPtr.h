#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>

// Owns one reference to a COM object.
template <class T>
class ComPtr
{
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes a reference of its own; the caller keeps its reference.
    explicit ComPtr(T* p) noexcept : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(const ComPtr& other) noexcept : ComPtr(other.m_p) {}
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }

    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

    // For out-parameters: releases what is held first.
    T** Put() noexcept
    {
        Reset();
        return &m_p;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

    void Reset() noexcept
    {
        if (m_p)
            std::exchange(m_p, nullptr)->Release();
    }

private:
    T* m_p = nullptr;
};

// Whether two interface pointers are of one COM object (its IUnknown).
inline bool IsSameComObject(IUnknown* pA, IUnknown* pB) noexcept
{
    ComPtr<IUnknown> pIdentityA;
    ComPtr<IUnknown> pIdentityB;
    return pA && pB && SUCCEEDED(pA->QueryInterface(IID_IUnknown, pIdentityA.PutVoid())) &&
           SUCCEEDED(pB->QueryInterface(IID_IUnknown, pIdentityB.PutVoid())) && pIdentityA.Get() == pIdentityB.Get();
}
