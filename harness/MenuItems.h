#pragma once

#include <windows.h>

#include <string>

// The items of a window's system menu, found by their text as the player
// reads it (its start: "老板键" finds "老板键 (Ctrl+Alt+H)"), in its
// sub-menus too: the launcher's commands are handed out as its features are
// made, and are known by no number.
UINT MenuCommand(HWND hWnd, const std::wstring& text);
// The item's state (MF_CHECKED, MF_GRAYED) and its whole text.
UINT MenuItemState(HWND hWnd, const std::wstring& text);
std::wstring MenuItemText(HWND hWnd, const std::wstring& text);

// A command of the launcher's system menu, for a launcher of another process
// (whose menu this one cannot read): the launcher hands out the same
// commands in every process, read once from one made here.
UINT LauncherCommand(const std::wstring& text);
