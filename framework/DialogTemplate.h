#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// An item of an extended dialog template whose class is a CLSID text: an
// ActiveX control, which the dialog manager cannot create itself.
struct DialogOleItem
{
    DWORD style;
    short x, y, cx, cy; // dialog units
    UINT nID;
    std::wstring className; // "{8856F961-...}"
    size_t nIndex;          // position among all the template's items
};

// Reads an extended dialog template (DLGTEMPLATEEX), the layout produced by
// DIALOGEX statements, and writes a copy without its ActiveX items. Other
// layouts are not read: IsExtended() answers FALSE and the template is used
// as it stands.
class DialogTemplate
{
public:
    DialogTemplate(const void* pTemplate, size_t cbTemplate);

    bool IsExtended() const noexcept { return m_bExtended; }
    DWORD GetStyle() const noexcept { return m_dwStyle; }
    short GetX() const noexcept { return m_x; }
    short GetY() const noexcept { return m_y; }
    // Code page of the template font's character set; CP_ACP when it names none.
    UINT GetCodePage() const noexcept { return m_nCodePage; }

    const std::vector<DialogOleItem>& GetOleItems() const noexcept { return m_oleItems; }
    // The template with the ActiveX items left out and the item count fixed.
    std::vector<DWORD> WithoutOleItems() const;

private:
    struct ItemSpan
    {
        size_t begin, end; // byte offsets, end not aligned
        bool bOle;
    };

    const BYTE* m_pData;
    size_t m_cbData;
    bool m_bExtended = false;
    DWORD m_dwStyle = 0;
    short m_x = 0, m_y = 0;
    UINT m_nCodePage = CP_ACP;
    size_t m_cbHeader = 0; // up to the first item
    std::vector<ItemSpan> m_items;
    std::vector<DialogOleItem> m_oleItems;
};
