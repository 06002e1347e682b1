#include "Key.h"

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

// Any key the text writes; none for a text that writes none.
CKey Read(const CString& strText)
{
    CKey key;
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
            return CKey();
        key.fsModifiers |= fsModifier;
        p = pPlus + 1;
    }
    const size_t cchKey = std::wcslen(p);
    if (cchKey == 1 && p[0] < 0x80 && (std::iswalpha(p[0]) || std::iswdigit(p[0])))
    {
        key.nVirtKey = static_cast<UINT>(std::towupper(p[0]));
        return key;
    }
    wchar_t* pEnd = nullptr;
    const long nF = (cchKey >= 2 && p[0] == L'F' && std::iswdigit(p[1])) ? std::wcstol(p + 1, &pEnd, 10) : 0;
    if (nF < 1 || nF > 12 || *pEnd != L'\0' || (cchKey > 2 && p[1] == L'0'))
        return CKey();
    key.nVirtKey = VK_F1 + static_cast<UINT>(nF - 1);
    return key;
}

bool IsFunctionKey(UINT nVirtKey)
{
    return nVirtKey >= VK_F1 && nVirtKey <= VK_F12;
}

} // namespace

CKey CKey::BossKey(const CString& strText)
{
    const CKey key = Read(strText);
    const bool bLetter = key.nVirtKey >= 'A' && key.nVirtKey <= 'Z';
    // F12 belongs to debuggers, Alt+F4 closes windows.
    const bool bFunction = IsFunctionKey(key.nVirtKey) && key.nVirtKey != VK_F12 &&
                           !(key.nVirtKey == VK_F4 && (key.fsModifiers & MOD_ALT));
    if ((key.fsModifiers & (MOD_CONTROL | MOD_ALT)) && (bLetter || bFunction))
        return key;
    return CKey{MOD_CONTROL | MOD_ALT, 'H'};
}

CKey CKey::GameKey(const CString& strText, const CKey& keyDefault)
{
    const CKey key = Read(strText);
    if (key.IsNone() || (key.fsModifiers & MOD_ALT))
        return keyDefault;
    if (!IsFunctionKey(key.nVirtKey))
        return key.fsModifiers == (MOD_CONTROL | MOD_SHIFT) ? key : keyDefault;
    const bool bTaken = key.nVirtKey == VK_F10 || key.nVirtKey == VK_F11 ||
                        (key.nVirtKey == VK_F5 && (key.fsModifiers & MOD_SHIFT) == 0);
    return bTaken ? keyDefault : key;
}

CString CKey::Format() const
{
    CString strText;
    if (IsNone())
        return strText;
    for (const Modifier& modifier : kModifiers)
    {
        if (fsModifiers & modifier.fsModifier)
        {
            strText += modifier.lpszName;
            strText += L"+";
        }
    }
    CString strKey;
    if (IsFunctionKey(nVirtKey))
        strKey.Format(L"F%u", nVirtKey - VK_F1 + 1);
    else
        strKey.Format(L"%lc", static_cast<wchar_t>(nVirtKey));
    strText += strKey;
    return strText;
}
