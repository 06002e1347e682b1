#include "MenuClicker.h"

#include <cwchar>

HWND MenuClicker::s_hWnd = nullptr;
UINT MenuClicker::s_nID = 0;
std::function<void(HWND)> MenuClicker::s_act;

namespace
{

const UINT kLookMs = 100;
const int kLooksPerClick = 4; // a click, then time for the menu to answer it
const int kLooksMost = 150;   // then the menu is closed: the test fails, and does not hang

int PositionOf(HMENU hMenu, UINT nID)
{
    for (int nPos = 0; nPos < ::GetMenuItemCount(hMenu); ++nPos)
        if (::GetMenuItemID(hMenu, nPos) == nID)
            return nPos;
    return -1;
}

struct MenusShown
{
    int nMenus = 0;
    HWND hFirst = nullptr;
};

BOOL CALLBACK CountMenu(HWND hWnd, LPARAM lParam)
{
    wchar_t szClass[16] = {};
    ::GetClassNameW(hWnd, szClass, 16);
    auto& shown = *reinterpret_cast<MenusShown*>(lParam);
    if (::IsWindowVisible(hWnd) && std::wcscmp(szClass, L"#32768") == 0 && shown.nMenus++ == 0)
        shown.hFirst = hWnd;
    return TRUE;
}

// The menus the thread shows (the system menu, and a sub-menu of it).
MenusShown Menus()
{
    MenusShown shown;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountMenu, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

int s_nLooks = 0;
bool s_bClicked = false;

} // namespace

void MenuClicker::ChooseWhenOpen(HWND hWnd, UINT nID)
{
    s_hWnd = hWnd;
    s_nID = nID;
    s_nLooks = 0;
    s_bClicked = false;
    ::SetTimer(nullptr, 0, kLookMs, OnTimer);
}

void CALLBACK MenuClicker::OnTimer(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    ::KillTimer(nullptr, idEvent);
    // The menu closes once the item is chosen. A click that came before the
    // menu could take it (a loaded machine) is made again.
    const int nMenus = Menus().nMenus;
    if (nMenus == 0 && s_bClicked)
        return;
    if (++s_nLooks >= kLooksMost)
    {
        ::EndMenu();
        return;
    }
    ::SetTimer(nullptr, 0, kLookMs, OnTimer);
    if (nMenus == 0 || s_nLooks % kLooksPerClick != 1)
        return;
    const HMENU hMenu = ::GetSystemMenu(s_hWnd, FALSE);
    const int nPos = PositionOf(hMenu, s_nID);
    if (nPos >= 0)
    {
        Click(s_hWnd, hMenu, nPos);
        return;
    }
    // In a sub-menu: the item that opens it, then, once it shows, the item.
    for (int nSub = 0; nSub < ::GetMenuItemCount(hMenu); ++nSub)
    {
        const HMENU hSubMenu = ::GetSubMenu(hMenu, nSub);
        if (!hSubMenu || PositionOf(hSubMenu, s_nID) < 0)
            continue;
        if (nMenus >= 2)
            Click(nullptr, hSubMenu, PositionOf(hSubMenu, s_nID));
        else
            Click(s_hWnd, hMenu, nSub);
        return;
    }
}

void MenuClicker::WhenOpen(std::function<void(HWND hMenu)> act)
{
    s_act = std::move(act);
    s_nLooks = 0;
    ::SetTimer(nullptr, 0, kLookMs, OnLook);
}

void CALLBACK MenuClicker::OnLook(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    const HWND hMenu = Menus().hFirst;
    if (!hMenu && ++s_nLooks < kLooksMost)
        return;
    ::KillTimer(nullptr, idEvent);
    if (hMenu)
        s_act(hMenu);
}

void MenuClicker::Click(HWND hWnd, HMENU hMenu, int nPos)
{
    s_bClicked = true;
    RECT rc = {};
    ::GetMenuItemRect(hWnd, hMenu, static_cast<UINT>(nPos), &rc);
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dx = ((rc.left + rc.right) / 2) * 65535 / (cxScreen - 1);
    inputs[0].mi.dy = ((rc.top + rc.bottom) / 2) * 65535 / (cyScreen - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(3, inputs, sizeof(INPUT));
}
