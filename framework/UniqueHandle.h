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

private:
    H m_h = Traits::Invalid();
};

struct GdiObjectTraits
{
    static HGDIOBJ Invalid() noexcept { return nullptr; }
    static void Close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};

struct HookTraits
{
    static HHOOK Invalid() noexcept { return nullptr; }
    static void Close(HHOOK h) noexcept { ::UnhookWindowsHookEx(h); }
};

struct KernelHandleTraits
{
    static HANDLE Invalid() noexcept { return nullptr; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};

struct FileHandleTraits
{
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits
{
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::FindClose(h); }
};

struct RegKeyTraits
{
    static HKEY Invalid() noexcept { return nullptr; }
    static void Close(HKEY h) noexcept { ::RegCloseKey(h); }
};

using UniqueGdiObject = UniqueHandle<HGDIOBJ, GdiObjectTraits>;
using UniqueHook = UniqueHandle<HHOOK, HookTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<HANDLE, FileHandleTraits>;
using UniqueFindHandle = UniqueHandle<HANDLE, FindHandleTraits>;
using UniqueRegKey = UniqueHandle<HKEY, RegKeyTraits>;
