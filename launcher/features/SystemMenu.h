#pragma once

#include "launcher/services/Key.h"
#include "framework/CString.h"

#include <windows.h>

#include <functional>
#include <vector>

// A window's additions to its system menu, made from rows that the features
// bring: each row is a command with its text, its state of the moment
// (checked, greyed) and what carries it out. The rows go above Close, with
// a separator before and after them.
class CSystemMenu
{
public:
    struct Row
    {
        UINT nID = 0;                         // the command (a multiple of 16 below 0xF000); 0 for a sub-menu
        const wchar_t* lpszText = nullptr;    // the text, or null for one of the moment:
        std::function<CString()> text;        //   asked each time the menu is brought up to date
        std::function<UINT()> state;          // MFS_CHECKED, MFS_GRAYED, MFT_RADIOCHECK; none when empty
        std::function<void(UINT nID)> action; // none for a line that only tells something
        std::vector<Row> subRows;             // a sub-menu's rows
        CKey key;                             // a key that carries it out too, shown in the tab column
        CKey hotKey; // a key the system hears for it from any program: no row's key, and none of this menu's
    };

    // Puts the rows into hWnd's system menu, above Close.
    void Insert(HWND hWnd, std::vector<Row> rows);
    // Brings every row's text and state up to date.
    void Update();
    // The rows' keys as rows made anew have them (the options were read
    // late), each row known by its command; then brought up to date.
    void TakeKeys(const std::vector<Row>& fresh);
    // Whether a menu is the window's system menu, or one of the rows'
    // sub-menus.
    bool IsSystemMenu(HMENU hMenu) const;
    bool IsSubMenu(HMENU hMenu) const;
    // Carries out a command of the rows: false when it is none of them.
    bool Command(UINT nID);
    // The row of a key; null when it is none's. A key is one row's: a row
    // whose key an earlier row has, or a row's hot key, goes without.
    const Row* RowOfKey(const CKey& key) const;
    // The row of a command; null when it is none's.
    const Row* RowOf(UINT nID) const;

    // The rows inserted, and a row's text of the moment.
    const std::vector<Row>& Rows() const noexcept { return m_rows; }
    static CString Text(const Row& row);
    // A row's state of the moment (MFS_CHECKED, MFS_GRAYED, MFT_RADIOCHECK).
    static UINT State(const Row& row) { return row.state ? row.state() : 0; }

private:
    void InsertRows(HMENU hMenu, UINT& nPos, const std::vector<Row>& rows);
    void UpdateRows(HMENU hSysMenu, const std::vector<Row>& rows);
    // A key goes to the first row that has it, unless it is a hot key.
    void DropKeysTaken();
    static void DropKeysTaken(std::vector<Row>& rows, std::vector<CKey>& taken);
    static void HotKeys(const std::vector<Row>& rows, std::vector<CKey>& hotKeys);
    static void CopyKeys(std::vector<Row>& rows, const std::vector<Row>& fresh);
    // The first row, sub-menus' rows among them, that is the one.
    static const Row* Find(const std::vector<Row>& rows, const std::function<bool(const Row&)>& is);

    std::vector<Row> m_rows;
    std::vector<HMENU> m_subMenus;
    HWND m_hWnd = nullptr;
};
