#pragma once

#include <windows.h>

#include <exception>

// A failed OLE call, by its result code.
class COleException : public std::exception
{
public:
    explicit COleException(SCODE sc) noexcept : m_sc(sc) {}

    const char* what() const noexcept override { return "OLE call failed"; }

    SCODE m_sc;
};
