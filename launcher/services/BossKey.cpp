#include "BossKey.h"

#include <cwchar>
#include <cwctype>

namespace
{

struct Modifier
{
    const wchar_t* lpszName;
    UINT fsModifier;
};

const Modifier kModifiers[] = {{L"Ctrl", MOD_CONTROL}, {L"Alt", MOD_ALT}, {L"Shift", MOD_SHIFT}};

} // namespace

CBossKey CBossKey::Parse(const CString& strText)
{
    CBossKey key;
    key.fsModifiers = 0;
    const wchar_t* p = strText;
    for (;;)
    {
        const wchar_t* pPlus = std::wcschr(p, L'+');
        if (!pPlus)
            break;
        const size_t cch = static_cast<size_t>(pPlus - p);
        UINT fsModifier = 0;
        for (const Modifier& modifier : kModifiers)
            if (std::wcslen(modifier.lpszName) == cch && std::wcsncmp(p, modifier.lpszName, cch) == 0)
                fsModifier = modifier.fsModifier;
        if (!fsModifier || (key.fsModifiers & fsModifier))
            return CBossKey();
        key.fsModifiers |= fsModifier;
        p = pPlus + 1;
    }
    // Without Ctrl or Alt the key would be taken from the typing of every
    // other program.
    if (!(key.fsModifiers & (MOD_CONTROL | MOD_ALT)))
        return CBossKey();
    const size_t cchKey = std::wcslen(p);
    if (cchKey == 1 && std::iswalpha(p[0]) && p[0] < 0x80)
    {
        key.nVirtKey = static_cast<UINT>(std::towupper(p[0]));
        return key;
    }
    wchar_t* pEnd = nullptr;
    const long nF = (cchKey >= 2 && p[0] == L'F' && std::iswdigit(p[1])) ? std::wcstol(p + 1, &pEnd, 10) : 0;
    if (nF < 1 || nF > 12 || *pEnd != L'\0' || (cchKey > 2 && p[1] == L'0'))
        return CBossKey();
    key.nVirtKey = VK_F1 + static_cast<UINT>(nF - 1);
    // Keys Windows keeps: F12 belongs to debuggers, Alt+F4 closes windows.
    if (key.nVirtKey == VK_F12 || (key.nVirtKey == VK_F4 && (key.fsModifiers & MOD_ALT)))
        return CBossKey();
    return key;
}

CString CBossKey::Format() const
{
    CString strText;
    for (const Modifier& modifier : kModifiers)
    {
        if (fsModifiers & modifier.fsModifier)
        {
            strText += modifier.lpszName;
            strText += L"+";
        }
    }
    CString strKey;
    if (nVirtKey >= VK_F1 && nVirtKey <= VK_F12)
        strKey.Format(L"F%u", nVirtKey - VK_F1 + 1);
    else
        strKey.Format(L"%lc", static_cast<wchar_t>(nVirtKey));
    strText += strKey;
    return strText;
}
