#include "DialogTemplate.h"

#include <cstring>

namespace
{

// Bounds-checked reading of a template; a read past the end fails the parse.
class TemplateReader
{
public:
    TemplateReader(const BYTE* p, size_t cb) : m_p(p), m_cb(cb) {}

    size_t Offset() const noexcept { return m_pos; }
    bool Ok() const noexcept { return m_ok; }

    template <class T>
    T Read()
    {
        T value{};
        if (m_pos + sizeof(T) > m_cb)
        {
            m_ok = false;
            return value;
        }
        std::memcpy(&value, m_p + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }

    std::wstring ReadString()
    {
        std::wstring s;
        for (wchar_t ch; (ch = static_cast<wchar_t>(Read<WORD>())) != 0 && m_ok;)
            s.push_back(ch);
        return s;
    }

    // A name or ordinal field; returns the name (empty for an ordinal or none).
    std::wstring ReadSzOrOrd()
    {
        const WORD first = Read<WORD>();
        if (first == 0x0000)
            return {};
        if (first == 0xFFFF)
        {
            Read<WORD>();
            return {};
        }
        m_pos -= sizeof(WORD);
        return ReadString();
    }

    void Skip(size_t cb)
    {
        if (m_pos + cb > m_cb)
            m_ok = false;
        else
            m_pos += cb;
    }

    void AlignDword() { m_pos = (m_pos + 3) & ~size_t(3); }

private:
    const BYTE* m_p;
    size_t m_cb;
    size_t m_pos = 0;
    bool m_ok = true;
};

UINT CodePageOfCharset(BYTE charset)
{
    CHARSETINFO csi = {};
    if (::TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<DWORD_PTR>(charset)), &csi, TCI_SRCCHARSET))
        return csi.ciACP;
    return CP_ACP;
}

} // namespace

DialogTemplate::DialogTemplate(const void* pTemplate, size_t cbTemplate)
    : m_pData(static_cast<const BYTE*>(pTemplate)), m_cbData(cbTemplate)
{
    TemplateReader r(m_pData, m_cbData);
    if (r.Read<WORD>() != 1 || r.Read<WORD>() != 0xFFFF)
        return;
    r.Read<DWORD>(); // help id
    r.Read<DWORD>(); // extended style
    const DWORD dwStyle = r.Read<DWORD>();
    const WORD cItems = r.Read<WORD>();
    const short x = r.Read<short>();
    const short y = r.Read<short>();
    r.Skip(2 * sizeof(short)); // size
    r.ReadSzOrOrd();           // menu
    r.ReadSzOrOrd();           // window class
    r.ReadString();            // title
    UINT nCodePage = CP_ACP;
    if (dwStyle & DS_SETFONT)
    {
        r.Read<WORD>(); // point size
        r.Read<WORD>(); // weight
        r.Read<BYTE>(); // italic
        nCodePage = CodePageOfCharset(r.Read<BYTE>());
        r.ReadString(); // typeface
    }
    r.AlignDword();
    const size_t cbHeader = r.Offset();

    std::vector<ItemSpan> items;
    std::vector<DialogOleItem> oleItems;
    for (size_t i = 0; i < cItems && r.Ok(); ++i)
    {
        r.AlignDword();
        const size_t begin = r.Offset();
        r.Read<DWORD>(); // help id
        r.Read<DWORD>(); // extended style
        DialogOleItem item = {};
        item.style = r.Read<DWORD>();
        item.x = r.Read<short>();
        item.y = r.Read<short>();
        item.cx = r.Read<short>();
        item.cy = r.Read<short>();
        item.nID = r.Read<DWORD>();
        item.className = r.ReadSzOrOrd();
        r.ReadSzOrOrd();        // text
        r.Skip(r.Read<WORD>()); // creation data
        item.nIndex = i;
        const bool bOle = !item.className.empty() && item.className[0] == L'{';
        items.push_back({begin, r.Offset(), bOle});
        if (bOle)
            oleItems.push_back(std::move(item));
    }
    if (!r.Ok())
        return;

    m_bExtended = true;
    m_dwStyle = dwStyle;
    m_x = x;
    m_y = y;
    m_nCodePage = nCodePage;
    m_cbHeader = cbHeader;
    m_items = std::move(items);
    m_oleItems = std::move(oleItems);
}

std::vector<DWORD> DialogTemplate::WithoutOleItems() const
{
    std::vector<BYTE> bytes(m_pData, m_pData + m_cbHeader);
    WORD cKept = 0;
    for (const ItemSpan& span : m_items)
    {
        if (span.bOle)
            continue;
        bytes.resize((bytes.size() + 3) & ~size_t(3));
        bytes.insert(bytes.end(), m_pData + span.begin, m_pData + span.end);
        ++cKept;
    }
    const size_t cItemsOffset = 16; // dlgVer, signature, helpID, exStyle, style
    std::memcpy(bytes.data() + cItemsOffset, &cKept, sizeof(cKept));

    std::vector<DWORD> result((bytes.size() + 3) / 4);
    std::memcpy(result.data(), bytes.data(), bytes.size());
    return result;
}
