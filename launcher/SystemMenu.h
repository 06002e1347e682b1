#pragma once

#include "framework/CString.h"

#include <windows.h>

#include <algorithm>
#include <vector>

// A window's additions to its system menu, made from one table: each row is
// a command with its text, its state of the moment (checked, greyed) and
// the owner's member that carries it out. The rows go above Close, with a
// separator before and after them.
template <class T>
class CSystemMenu
{
public:
    struct Row
    {
        UINT nID;                           // the command (a multiple of 16 below 0xF000); 0 for a sub-menu
        const wchar_t* lpszText;            // the text, or null for one of the moment:
        CString (T::*pfnText)() const;      //   asked each time the menu is brought up to date
        UINT (T::*pfnState)(UINT) const;    // MFS_CHECKED, MFS_GRAYED, MFT_RADIOCHECK; null for none
        void (T::*pfnAction)(UINT);         // null for a line that only tells something
        std::vector<Row> subRows;           // a sub-menu's rows
    };

    CSystemMenu(T& owner, std::vector<Row> rows) : m_owner(owner), m_rows(std::move(rows)) {}

    // Puts the rows into hWnd's system menu, above Close.
    void Insert(HWND hWnd)
    {
        m_hWnd = hWnd;
        const HMENU hSysMenu = ::GetSystemMenu(hWnd, FALSE);
        if (!hSysMenu)
            return;
        UINT nPos = 0;
        const UINT nCount = static_cast<UINT>(::GetMenuItemCount(hSysMenu));
        while (nPos < nCount && ::GetMenuItemID(hSysMenu, static_cast<int>(nPos)) != SC_CLOSE)
            ++nPos;
        // After a separator: the one the system puts before Close, or one of ours.
        if (nPos == 0 || !(::GetMenuState(hSysMenu, nPos - 1, MF_BYPOSITION) & MF_SEPARATOR))
            ::InsertMenuW(hSysMenu, nPos++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        InsertRows(hSysMenu, nPos, m_rows);
        ::InsertMenuW(hSysMenu, nPos, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        Update();
    }

    // Brings every row's text and state up to date.
    void Update()
    {
        if (const HMENU hSysMenu = m_hWnd ? ::GetSystemMenu(m_hWnd, FALSE) : nullptr)
            UpdateRows(hSysMenu, m_rows);
    }

    // Whether a menu is one of the table's sub-menus.
    bool IsSubMenu(HMENU hMenu) const
    {
        return std::find(m_subMenus.begin(), m_subMenus.end(), hMenu) != m_subMenus.end();
    }

    // Carries out a command of the table: false when it is none of them.
    bool Command(UINT nID)
    {
        const Row* pRow = Find(m_rows, nID);
        if (!pRow)
            return false;
        if (pRow->pfnAction)
            (m_owner.*pRow->pfnAction)(nID);
        Update();
        return true;
    }

private:
    void InsertRows(HMENU hMenu, UINT& nPos, const std::vector<Row>& rows)
    {
        for (const Row& row : rows)
        {
            const CString strText = Text(row);
            if (row.subRows.empty())
            {
                ::InsertMenuW(hMenu, nPos++, MF_BYPOSITION | MF_STRING, row.nID, strText);
                continue;
            }
            const HMENU hSubMenu = ::CreatePopupMenu(); // the system menu owns it once inserted
            m_subMenus.push_back(hSubMenu);
            UINT nSubPos = 0;
            InsertRows(hSubMenu, nSubPos, row.subRows);
            ::InsertMenuW(hMenu, nPos++, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(hSubMenu), strText);
        }
    }

    void UpdateRows(HMENU hSysMenu, const std::vector<Row>& rows)
    {
        for (const Row& row : rows)
        {
            UpdateRows(hSysMenu, row.subRows);
            if (!row.nID)
                continue;
            const UINT nState = row.pfnState ? (m_owner.*row.pfnState)(row.nID) : 0;
            MENUITEMINFOW mii = {};
            mii.cbSize = sizeof(mii);
            mii.fMask = MIIM_STATE | MIIM_FTYPE;
            mii.fType = MFT_STRING | (nState & MFT_RADIOCHECK);
            mii.fState = nState & (MFS_CHECKED | MFS_GRAYED);
            CString strText;
            if (row.pfnText)
            {
                strText = Text(row);
                mii.fMask |= MIIM_STRING;
                mii.dwTypeData = const_cast<wchar_t*>(static_cast<const wchar_t*>(strText));
            }
            ::SetMenuItemInfoW(hSysMenu, row.nID, FALSE, &mii);
        }
    }

    CString Text(const Row& row) const { return row.pfnText ? (m_owner.*row.pfnText)() : CString(row.lpszText); }

    static const Row* Find(const std::vector<Row>& rows, UINT nID)
    {
        for (const Row& row : rows)
        {
            if (row.nID == nID && nID)
                return &row;
            if (const Row* pSub = Find(row.subRows, nID))
                return pSub;
        }
        return nullptr;
    }

    T& m_owner;
    std::vector<Row> m_rows;
    std::vector<HMENU> m_subMenus;
    HWND m_hWnd = nullptr;
};
