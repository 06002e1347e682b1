#pragma once

#include "COleException.h"
#include "CString.h"

// An error that an automation object raised, with its own description.
class COleDispatchException : public COleException
{
public:
    COleDispatchException(const CString& strDescription, WORD wCode, SCODE sc)
        : COleException(sc), m_strDescription(strDescription), m_wCode(wCode)
    {
    }

    const char* what() const noexcept override { return "automation object raised an error"; }

    CString m_strDescription;
    WORD m_wCode;
};
