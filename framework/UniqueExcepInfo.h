#pragma once

#include <windows.h>
#include <oleauto.h>

// An EXCEPINFO that IDispatch::Invoke fills; frees the strings it was given.
struct UniqueExcepInfo
{
    UniqueExcepInfo() noexcept = default;
    UniqueExcepInfo(const UniqueExcepInfo&) = delete;
    UniqueExcepInfo& operator=(const UniqueExcepInfo&) = delete;
    ~UniqueExcepInfo()
    {
        ::SysFreeString(info.bstrSource);
        ::SysFreeString(info.bstrDescription);
        ::SysFreeString(info.bstrHelpFile);
    }

    EXCEPINFO info = {};
};
