#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

class CString;

// The arguments of one IDispatch::Invoke call, in the order the callee
// declares them; owns what it allocates.
class DispatchArgs
{
public:
    DispatchArgs() = default;
    DispatchArgs(const DispatchArgs&) = delete;
    DispatchArgs& operator=(const DispatchArgs&) = delete;
    ~DispatchArgs();

    // A string, passed as a BSTR of the same length (embedded NULs included).
    void Add(const CString& str);
    // An optional VARIANT passed by reference; nullptr passes a null reference.
    void Add(VARIANT* pvar);
    // A 32-bit integer.
    void Add(long lValue);

    // Invoke takes the arguments last to first.
    DISPPARAMS GetDispParams();

private:
    std::vector<VARIANT> m_args; // in declaration order
    std::vector<VARIANT> m_reversed;
};
