#include "FakeFeatureHost.h"

#include "harness/MessagePump.h"

namespace
{

const wchar_t kClass[] = L"OrlimFakeFeatureHost";

} // namespace

FakeFeatureHost::FakeFeatureHost() : m_strFolder(m_dir.Path().c_str())
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    ::RegisterClassW(&wc);
    m_hWnd = ::CreateWindowExW(0, kClass, L"host", WS_OVERLAPPED | WS_SYSMENU | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                               nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

FakeFeatureHost::~FakeFeatureHost()
{
    for (CFeature* pFeature : m_features)
        pFeature->OnEnd();
    ::DestroyWindow(m_hWnd);
}

void FakeFeatureHost::WriteOptions(const std::string& lines)
{
    WriteFileBytes(m_dir.File(L"UserVar.ini"), "[options]\r\n" + lines);
}

void FakeFeatureHost::Start(CFeature& feature)
{
    m_options = COptions::Read(m_dir.File(L"UserVar.ini").c_str());
    feature.BeforeBrowser();
    feature.OnStart();
    feature.OnPlaced();
    m_features.push_back(&feature);
    for (CSystemMenu::Row& row : feature.MenuRows())
        m_rows.push_back(std::move(row));
    ::GetSystemMenu(m_hWnd, TRUE); // the menu as the system makes it, rows inserted anew
    m_menu = CSystemMenu();
    m_menu.Insert(m_hWnd, m_rows);
}

void FakeFeatureHost::Choose(UINT nID)
{
    m_menu.Command(nID);
}

void FakeFeatureHost::OpenMenu()
{
    for (CFeature* pFeature : m_features)
        pFeature->OnMenuOpening();
    m_menu.Update();
}

UINT FakeFeatureHost::MenuState(UINT nID) const
{
    return ::GetMenuState(::GetSystemMenu(m_hWnd, FALSE), nID, MF_BYCOMMAND);
}

std::wstring FakeFeatureHost::MenuText(UINT nID) const
{
    wchar_t text[64] = {};
    ::GetMenuStringW(::GetSystemMenu(m_hWnd, FALSE), nID, text, 64, MF_BYCOMMAND);
    return text;
}

void FakeFeatureHost::SaveOption(const wchar_t* lpszKey, const wchar_t* lpszValue)
{
    saved.emplace_back(lpszKey, lpszValue ? lpszValue : L"(removed)");
}

bool FakeFeatureHost::ApplyZoom(int nPercent)
{
    zooms.push_back(nPercent);
    pageZoom = nPercent;
    return true;
}

bool FakeFeatureHost::ReadZoom(int* pnPercent)
{
    *pnPercent = pageZoom;
    return true;
}

LRESULT CALLBACK FakeFeatureHost::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* pHost = reinterpret_cast<FakeFeatureHost*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    LRESULT lResult = 0;
    if (pHost)
        for (CFeature* pFeature : pHost->m_features)
            if (pFeature->OnMessage(message, wParam, lParam, &lResult))
                return lResult;
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}
