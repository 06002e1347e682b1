#include "FeatureList.h"

#include "framework/StartupMarks.h"

#include <typeinfo>

namespace
{

const UINT kCommandStep = 0x0010; // the system keeps the low four bits of a command
// Past these the ids are the system's: its own commands (SC_SIZE on), and
// the messages RegisterWindowMessage hands out.
const UINT kCommandEnd = 0xF000;
const UINT kMessageEnd = 0xC000;
const int kHotKeyEnd = 0xC000;

} // namespace

CFeatureList::CFeatureList(UINT_PTR nFirstTimer) noexcept : m_nNextTimer(nFirstTimer) {}

void CFeatureList::Add(CFeature& feature)
{
    m_features.push_back(&feature);
}

UINT CFeatureList::NewCommand() noexcept
{
    if (m_nNextCommand >= kCommandEnd)
        return 0;
    const UINT nCommand = m_nNextCommand;
    m_nNextCommand += kCommandStep;
    return nCommand;
}

UINT_PTR CFeatureList::NewTimer() noexcept
{
    return m_nNextTimer++;
}

UINT CFeatureList::NewMessage() noexcept
{
    return m_nNextMessage < kMessageEnd ? m_nNextMessage++ : 0;
}

int CFeatureList::NewHotKey() noexcept
{
    return m_nNextHotKey < kHotKeyEnd ? m_nNextHotKey++ : 0;
}

void CFeatureList::BeforeBrowser()
{
    for (CFeature* pFeature : m_features)
        pFeature->BeforeBrowser();
}

void CFeatureList::Start(HWND hWnd)
{
    std::vector<CSystemMenu::Row> rows;
    for (CFeature* pFeature : m_features)
    {
        pFeature->OnStart();
        StartupMarks::Mark(typeid(*pFeature).name());
        for (CSystemMenu::Row& row : pFeature->MenuRows())
            rows.push_back(std::move(row));
    }
    m_menu.Insert(hWnd, std::move(rows));
    // A key is heard in whatever loop takes it from the queue: its row is
    // carried out from the window's own, as its message.
    m_nKeyMessage = NewMessage();
    m_keys.Attach(hWnd, [this, hWnd](const CKey& key, bool bRepeat) {
        const CSystemMenu::Row* pRow = m_menu.RowOfKey(key);
        if (pRow && !bRepeat)
            ::PostMessageW(hWnd, m_nKeyMessage, pRow->nID, 0);
        return pRow != nullptr;
    });
}

void CFeatureList::MenuOpening()
{
    for (CFeature* pFeature : m_features)
        pFeature->OnMenuOpening();
    m_menu.Update();
}

void CFeatureList::OnKey(UINT nID)
{
    // As the menu would be: brought up to date, and a greyed row does
    // nothing.
    MenuOpening();
    const CSystemMenu::Row* pRow = m_menu.RowOf(nID);
    if (pRow && !(CSystemMenu::State(*pRow) & MFS_GRAYED))
        m_menu.Command(nID);
}

void CFeatureList::Placed()
{
    for (CFeature* pFeature : m_features)
        pFeature->OnPlaced();
}

void CFeatureList::OptionsRead()
{
    // The keys a player wrote come with the options.
    std::vector<CSystemMenu::Row> fresh;
    for (CFeature* pFeature : m_features)
    {
        pFeature->OnOptionsRead();
        for (CSystemMenu::Row& row : pFeature->MenuRows())
            fresh.push_back(std::move(row));
    }
    m_menu.TakeKeys(fresh);
}

void CFeatureList::Shown()
{
    for (CFeature* pFeature : m_features)
        pFeature->OnShown();
    m_menu.Update();
}

bool CFeatureList::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    *pResult = 0;
    if (message == m_nKeyMessage && m_nKeyMessage)
    {
        OnKey(static_cast<UINT>(wParam));
        return true;
    }
    switch (message)
    {
    case WM_INITMENUPOPUP:
        // What the world changed meanwhile (the sound, the screenshots'
        // folder, the page shown) is asked only now that the player opens
        // the menu. The menu is known by its handle: an opening by a right
        // click on the caption need not say that it is the system menu.
        if (const auto hMenu = reinterpret_cast<HMENU>(wParam); m_menu.IsSystemMenu(hMenu) || HIWORD(lParam))
        {
            MenuOpening();
            return false;
        }
        else if (m_menu.IsSubMenu(hMenu))
        {
            m_menu.Update();
            return false;
        }
        break;
    case WM_SYSCOMMAND:
        if (m_menu.Command(static_cast<UINT>(wParam & 0xFFF0)))
            return true;
        break;
    case WM_COMMAND:
        // The items of a sub-menu of the system menu come as WM_COMMAND (the
        // sub-menu is no system menu of its own).
        if (lParam == 0 && HIWORD(wParam) == 0 && m_menu.Command(LOWORD(wParam)))
            return true;
        break;
    default:
        break;
    }
    if (IsForEveryFeature(message))
    {
        for (CFeature* pFeature : m_features)
        {
            LRESULT lIgnored = 0;
            pFeature->OnMessage(message, wParam, lParam, &lIgnored);
        }
        // Windows ends: nothing is left to do after this message.
        if (message == WM_ENDSESSION && wParam)
            End();
        return false;
    }
    for (CFeature* pFeature : m_features)
        if (pFeature->OnMessage(message, wParam, lParam, pResult))
            return true;
    return false;
}

void CFeatureList::End()
{
    if (m_bEnded)
        return;
    m_bEnded = true;
    m_keys.Detach();
    for (CFeature* pFeature : m_features)
        pFeature->OnEnd();
}

std::vector<CString> CFeatureList::Notices() const
{
    std::vector<CString> notices;
    for (const CFeature* pFeature : m_features)
        if (CString strText = pFeature->NoticeText(); !strText.IsEmpty())
            notices.push_back(std::move(strText));
    return notices;
}

bool CFeatureList::IsForEveryFeature(UINT message) noexcept
{
    static const UINT s_nTaskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    switch (message)
    {
    case WM_ENDSESSION:
    case WM_DEVICECHANGE:
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:
    case WM_DPICHANGED:
    case WM_POWERBROADCAST:
        return true;
    default:
        return message == s_nTaskbarCreated;
    }
}
