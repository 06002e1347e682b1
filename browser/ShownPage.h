#pragma once

#include "framework/CString.h"
#include "framework/ComPtr.h"

#include <oaidl.h>

// The page a browser shows, for whoever looks into it or loads it again.
class CShownPage
{
public:
    // Its address and its document; empty, and null, while there is none.
    virtual CString PageUrl() const = 0;
    virtual ComPtr<IDispatch> PageDocument() const = 0;
    // Loads it again; from the network alone when bCompletely.
    virtual void Reload(bool bCompletely) = 0;

protected:
    ~CShownPage() = default;
};
