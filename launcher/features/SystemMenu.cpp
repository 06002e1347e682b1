#include "SystemMenu.h"

#include <algorithm>

void CSystemMenu::Insert(HWND hWnd, std::vector<Row> rows)
{
    m_hWnd = hWnd;
    m_rows = std::move(rows);
    DropKeysTaken();
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

void CSystemMenu::Update()
{
    if (const HMENU hSysMenu = m_hWnd ? ::GetSystemMenu(m_hWnd, FALSE) : nullptr)
        UpdateRows(hSysMenu, m_rows);
}

void CSystemMenu::TakeKeys(const std::vector<Row>& fresh)
{
    CopyKeys(m_rows, fresh);
    DropKeysTaken();
    Update();
}

void CSystemMenu::CopyKeys(std::vector<Row>& rows, const std::vector<Row>& fresh)
{
    for (Row& row : rows)
    {
        const auto isSame = [&row](const Row& other) { return other.nID == row.nID; };
        if (const Row* pFresh = row.nID ? Find(fresh, isSame) : nullptr)
        {
            row.key = pFresh->key;
            row.hotKey = pFresh->hotKey;
        }
        CopyKeys(row.subRows, fresh);
    }
}

bool CSystemMenu::IsSystemMenu(HMENU hMenu) const
{
    return hMenu && m_hWnd && hMenu == ::GetSystemMenu(m_hWnd, FALSE);
}

bool CSystemMenu::IsSubMenu(HMENU hMenu) const
{
    return std::find(m_subMenus.begin(), m_subMenus.end(), hMenu) != m_subMenus.end();
}

bool CSystemMenu::Command(UINT nID)
{
    const Row* pRow = RowOf(nID);
    if (!pRow)
        return false;
    if (pRow->action)
        pRow->action(nID);
    Update();
    return true;
}

const CSystemMenu::Row* CSystemMenu::RowOf(UINT nID) const
{
    return nID ? Find(m_rows, [nID](const Row& row) { return row.nID == nID; }) : nullptr;
}

const CSystemMenu::Row* CSystemMenu::RowOfKey(const CKey& key) const
{
    return key.IsNone() ? nullptr : Find(m_rows, [&key](const Row& row) { return row.key == key; });
}

void CSystemMenu::DropKeysTaken()
{
    // The hot keys first, wherever their rows stand.
    std::vector<CKey> taken;
    HotKeys(m_rows, taken);
    DropKeysTaken(m_rows, taken);
}

void CSystemMenu::DropKeysTaken(std::vector<Row>& rows, std::vector<CKey>& taken)
{
    for (Row& row : rows)
    {
        if (std::find(taken.begin(), taken.end(), row.key) != taken.end())
            row.key = CKey();
        else if (!row.key.IsNone())
            taken.push_back(row.key);
        DropKeysTaken(row.subRows, taken);
    }
}

void CSystemMenu::HotKeys(const std::vector<Row>& rows, std::vector<CKey>& hotKeys)
{
    for (const Row& row : rows)
    {
        if (!row.hotKey.IsNone())
            hotKeys.push_back(row.hotKey);
        HotKeys(row.subRows, hotKeys);
    }
}

void CSystemMenu::InsertRows(HMENU hMenu, UINT& nPos, const std::vector<Row>& rows)
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

void CSystemMenu::UpdateRows(HMENU hSysMenu, const std::vector<Row>& rows)
{
    for (const Row& row : rows)
    {
        UpdateRows(hSysMenu, row.subRows);
        if (!row.nID)
            continue;
        const UINT nState = State(row);
        // The text too: a text of the moment, or a key read late.
        const CString strText = Text(row);
        MENUITEMINFOW mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
        mii.fType = MFT_STRING | (nState & MFT_RADIOCHECK);
        mii.fState = nState & (MFS_CHECKED | MFS_GRAYED);
        mii.dwTypeData = const_cast<wchar_t*>(static_cast<const wchar_t*>(strText));
        ::SetMenuItemInfoW(hSysMenu, row.nID, FALSE, &mii);
    }
}

CString CSystemMenu::Text(const Row& row)
{
    CString strText = row.text ? row.text() : CString(row.lpszText);
    if (!row.key.IsNone())
    {
        strText += L"\t";
        strText += row.key.Format();
    }
    return strText;
}

const CSystemMenu::Row* CSystemMenu::Find(const std::vector<Row>& rows, const std::function<bool(const Row&)>& is)
{
    for (const Row& row : rows)
    {
        if (is(row))
            return &row;
        if (const Row* pSub = Find(row.subRows, is))
            return pSub;
    }
    return nullptr;
}
