#include "Explorer1.h"

namespace
{
const DISPID DISPID_NAVIGATE = 0x68;
}

void CExplorer1::Navigate(const CString& URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                          VARIANT* Headers)
{
    InvokeHelper(DISPID_NAVIGATE, DISPATCH_METHOD, URL, Flags, TargetFrameName, PostData, Headers);
}
