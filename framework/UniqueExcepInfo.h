#pragma once

#include <windows.h>
#include <oleauto.h>

// An EXCEPINFO that IDispatch::Invoke fills; frees the strings it was given.
struct UniqueExcepInfo
{
    UniqueExcepInfo() noexcept = default;
    UniqueExcepInfo(const UniqueExcepInfo&) = delete;
    UniqueExcepInfo& operator=(const UniqueExcepInfo&) = delete;
    ~UniqueExcepInfo() { Free(); }

    // For another call: frees what the last one gave and starts empty.
    EXCEPINFO* Put() noexcept
    {
        Free();
        info = EXCEPINFO{};
        return &info;
    }

    EXCEPINFO info = {};

private:
    void Free() noexcept
    {
        ::SysFreeString(info.bstrSource);
        ::SysFreeString(info.bstrDescription);
        ::SysFreeString(info.bstrHelpFile);
    }
};
