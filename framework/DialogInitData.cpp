#include "DialogInitData.h"

#include <cstring>

DialogInitData DialogInitData::Load(HINSTANCE hInst, const wchar_t* lpszTemplateName)
{
    const HRSRC hRes = ::FindResourceW(hInst, lpszTemplateName, MAKEINTRESOURCEW(240));
    const HGLOBAL hData = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    const void* pData = hData ? ::LockResource(hData) : nullptr;
    if (!pData)
        return DialogInitData();
    return DialogInitData(pData, ::SizeofResource(hInst, hRes));
}

DialogInitData::DialogInitData(const void* pData, size_t cbData)
{
    // Entries follow each other unaligned; a control id of 0 ends the list.
    const BYTE* p = static_cast<const BYTE*>(pData);
    size_t pos = 0;
    const size_t cbHeader = 2 * sizeof(WORD) + sizeof(DWORD);
    while (pos + cbHeader <= cbData)
    {
        Entry entry;
        std::memcpy(&entry.nIDC, p + pos, sizeof(WORD));
        if (entry.nIDC == 0)
            break;
        std::memcpy(&entry.nMsg, p + pos + 2, sizeof(WORD));
        std::memcpy(&entry.cbData, p + pos + 4, sizeof(DWORD));
        pos += cbHeader;
        if (entry.cbData > cbData - pos)
            break; // truncated entry: the list ends here
        entry.pData = p + pos;
        pos += entry.cbData;
        m_entries.push_back(entry);
    }
}
