#pragma once

#include <windows.h>
#include <oleauto.h>

// Owns what one VARIANT holds.
class UniqueVariant
{
public:
    UniqueVariant() noexcept { ::VariantInit(&m_var); }
    ~UniqueVariant() { ::VariantClear(&m_var); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    VARIANT* Get() noexcept { return &m_var; }

private:
    VARIANT m_var;
};
