#pragma once

#include <windows.h>

#include <functional>

// Chooses an item of a window's system menu with the mouse once the menu is
// open and drawn, as the player does: an item of a sub-menu by first
// clicking the item that opens it. Arm it, then open the menu as Alt+Space
// does (WM_SYSCOMMAND, SC_KEYMENU, ' '); the menu's own loop runs the
// clicks.
class MenuClicker
{
public:
    static void ChooseWhenOpen(HWND hWnd, UINT nID);
    // Or does something else once a menu of the thread shows, from inside
    // the menu's own loop, once: act is given the menu's window.
    static void WhenOpen(std::function<void(HWND hMenu)> act);

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR idEvent, DWORD);
    static void CALLBACK OnLook(HWND, UINT, UINT_PTR idEvent, DWORD);
    // Clicks the middle of an item as the menu shows it.
    static void Click(HWND hWnd, HMENU hMenu, int nPos);

    static HWND s_hWnd;
    static UINT s_nID;
    static std::function<void(HWND)> s_act;
};
