#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

// Owns one BSTR.
class UniqueBstr
{
public:
    UniqueBstr() noexcept = default;
    UniqueBstr(const wchar_t* pch, UINT cch) : m_str(::SysAllocStringLen(pch, cch)) {}
    UniqueBstr(UniqueBstr&& other) noexcept : m_str(std::exchange(other.m_str, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept
    {
        std::swap(m_str, other.m_str);
        return *this;
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    ~UniqueBstr() { ::SysFreeString(m_str); }

    BSTR Get() const noexcept { return m_str; }
    BSTR Detach() noexcept { return std::exchange(m_str, nullptr); }

private:
    BSTR m_str = nullptr;
};
