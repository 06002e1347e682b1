#include "MenuItems.h"

#include "harness/LauncherWindow.h"
#include "harness/TempDir.h"

#include <map>

namespace
{

// The item whose text starts with text, in hMenu or its sub-menus: its menu
// and position.
bool Find(HMENU hMenu, const std::wstring& text, HMENU* phFound, int* pnPos)
{
    for (int nPos = 0; nPos < ::GetMenuItemCount(hMenu); ++nPos)
    {
        wchar_t szText[128] = {};
        ::GetMenuStringW(hMenu, static_cast<UINT>(nPos), szText, 128, MF_BYPOSITION);
        if (std::wstring(szText).rfind(text, 0) == 0 && !text.empty())
        {
            *phFound = hMenu;
            *pnPos = nPos;
            return true;
        }
        if (const HMENU hSub = ::GetSubMenu(hMenu, nPos); hSub && Find(hSub, text, phFound, pnPos))
            return true;
    }
    return false;
}

} // namespace

UINT MenuCommand(HWND hWnd, const std::wstring& text)
{
    HMENU hMenu = nullptr;
    int nPos = 0;
    return Find(::GetSystemMenu(hWnd, FALSE), text, &hMenu, &nPos) ? ::GetMenuItemID(hMenu, nPos) : 0;
}

UINT MenuItemState(HWND hWnd, const std::wstring& text)
{
    HMENU hMenu = nullptr;
    int nPos = 0;
    return Find(::GetSystemMenu(hWnd, FALSE), text, &hMenu, &nPos)
               ? ::GetMenuState(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION)
               : UINT(-1);
}

std::wstring MenuItemText(HWND hWnd, const std::wstring& text)
{
    HMENU hMenu = nullptr;
    int nPos = 0;
    wchar_t szText[128] = {};
    if (Find(::GetSystemMenu(hWnd, FALSE), text, &hMenu, &nPos))
        ::GetMenuStringW(hMenu, static_cast<UINT>(nPos), szText, 128, MF_BYPOSITION);
    return szText;
}

UINT LauncherCommand(const std::wstring& text)
{
    static std::map<std::wstring, UINT> s_commands;
    if (const auto it = s_commands.find(text); it != s_commands.end())
        return it->second;
    const TempDir dir; // its settings file is its own
    const LauncherWindow launcher;
    return s_commands[text] = MenuCommand(launcher.Hwnd(), text);
}
