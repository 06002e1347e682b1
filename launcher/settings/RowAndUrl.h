#pragma once

#include "framework/CString.h"

#include <optional>

// The row of the drop-down and the address the launcher remembers: "ServersSel"
// and "Url" in "[section]" of the settings file, each as its text stands
// there, or absent.
class CRowAndUrl
{
public:
    CRowAndUrl() = default;
    CRowAndUrl(int nRow, const CString& strUrl);

    // The two keys of a file (its full path, or the copy being saved).
    static CRowAndUrl Read(const wchar_t* lpszFile);

    // The stored row: the value's first two characters as a number (text
    // without digits gives 0); 0 when absent.
    int Row() const;
    // The stored address; lpszDefault when absent (an empty value is empty).
    CString Url(const wchar_t* lpszDefault) const;

    // Writes into a file (the copy being saved) the keys whose value here
    // differs from the one there, except those whose value there is no
    // longer lpBefore's: another launcher saved its player's choice since
    // that was read. Without lpBefore, the keys are written whatever the
    // file holds.
    bool WriteTo(const wchar_t* lpszFile, const CRowAndUrl* lpBefore) const;

    bool operator==(const CRowAndUrl& other) const;

private:
    std::optional<CString> m_strRow;
    std::optional<CString> m_strUrl;
};
