#pragma once

#include <windows.h>

#include <utility>

// Owns one handle; Traits says how to close it and which value means none.
template <class H, class Traits>
class UniqueHandle
{
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(H h) noexcept : m_h(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    H Get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return m_h != Traits::Invalid(); }

    void Reset(H h = Traits::Invalid()) noexcept
    {
        H old = std::exchange(m_h, h);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }
    H Release() noexcept { return std::exchange(m_h, Traits::Invalid()); }
    // For a call that hands a new handle back through a pointer: closes the
    // one held, and the handle written there is then owned.
    H* Put() noexcept
    {
        Reset();
        return &m_h;
    }

private:
    H m_h = Traits::Invalid();
};

// Traits for handles whose "none" is null and that one function closes.
template <class H, auto pfnClose>
struct NullHandleTraits
{
    static H Invalid() noexcept { return nullptr; }
    static void Close(H h) noexcept { pfnClose(h); }
};

// Traits for kernel handles whose "none" is INVALID_HANDLE_VALUE (files).
template <auto pfnClose>
struct InvalidHandleTraits
{
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { pfnClose(h); }
};

using UniqueBrush = UniqueHandle<HBRUSH, NullHandleTraits<HBRUSH, ::DeleteObject>>;
using UniqueBitmap = UniqueHandle<HBITMAP, NullHandleTraits<HBITMAP, ::DeleteObject>>;
using UniqueMemoryDC = UniqueHandle<HDC, NullHandleTraits<HDC, ::DeleteDC>>;
using UniqueHook = UniqueHandle<HHOOK, NullHandleTraits<HHOOK, ::UnhookWindowsHookEx>>;
using UniqueFileHandle = UniqueHandle<HANDLE, InvalidHandleTraits<::CloseHandle>>;
using UniqueKernelHandle = UniqueHandle<HANDLE, NullHandleTraits<HANDLE, ::CloseHandle>>;
using UniqueIcon = UniqueHandle<HICON, NullHandleTraits<HICON, ::DestroyIcon>>;
using UniqueRegKey = UniqueHandle<HKEY, NullHandleTraits<HKEY, ::RegCloseKey>>;
using UniqueLocal = UniqueHandle<HLOCAL, NullHandleTraits<HLOCAL, ::LocalFree>>;

// A window's device context from GetDC (hWnd null: the screen's), given
// back to the window when the owner goes.
class UniqueWindowDC
{
public:
    explicit UniqueWindowDC(HWND hWnd) noexcept : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~UniqueWindowDC()
    {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    UniqueWindowDC(const UniqueWindowDC&) = delete;
    UniqueWindowDC& operator=(const UniqueWindowDC&) = delete;

    HDC Get() const noexcept { return m_hDC; }
    explicit operator bool() const noexcept { return m_hDC != nullptr; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};
