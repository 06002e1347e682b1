#pragma once

#include <windows.h>

#include <vector>

// A dialog's initial data (resource type 240, named like its template): a
// list of entries, each a control id, a message and the message's data.
class DialogInitData
{
public:
    struct Entry
    {
        WORD nIDC;
        WORD nMsg;
        const BYTE* pData;
        DWORD cbData;
    };

    // The dialog's entries; none when it has no initial data.
    static DialogInitData Load(HINSTANCE hInst, const wchar_t* lpszTemplateName);
    DialogInitData(const void* pData, size_t cbData);

    const std::vector<Entry>& GetEntries() const noexcept { return m_entries; }

private:
    DialogInitData() = default;

    std::vector<Entry> m_entries;
};

// Messages of the entries.
enum : WORD
{
    AFX_DLGINIT_CB_ADDSTRING = 0x0403,   // the 16-bit CB_ADDSTRING: add an 8-bit string
    AFX_DLGINIT_LOADFROMSTREAM = 0x0376, // an ActiveX control's persisted state
};
