#include "FakeFeatureHost.h"

#include "harness/MenuItems.h"
#include "harness/MessagePump.h"

namespace
{

const wchar_t kClass[] = L"OrlimFakeFeatureHost";

} // namespace

FakeFeatureHost::FakeFeatureHost() : m_strFolder(m_dir.Path().c_str()), m_settings(m_strFolder)
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
    m_list.End();
    ::DestroyWindow(m_hWnd);
}

void FakeFeatureHost::WriteOptions(const std::string& lines)
{
    WriteFileBytes(m_dir.File(L"UserVar.ini"), "[options]\r\n" + lines);
}

void FakeFeatureHost::Start(std::initializer_list<CFeature*> features, bool bShown)
{
    m_settings.Load();
    for (CFeature* pFeature : features)
        m_list.Add(*pFeature);
    m_list.BeforeBrowser();
    m_list.Start(m_hWnd);
    m_list.Placed();
    if (bShown)
        Show();
}

void FakeFeatureHost::Show()
{
    m_list.Shown();
}

void FakeFeatureHost::Choose(const std::wstring& text)
{
    ::SendMessageW(m_hWnd, WM_SYSCOMMAND, MenuCommand(m_hWnd, text), 0);
}

void FakeFeatureHost::OpenMenu()
{
    ::SendMessageW(m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSystemMenu(m_hWnd, FALSE)),
                   MAKELPARAM(0, TRUE));
}

UINT FakeFeatureHost::MenuState(const std::wstring& text) const
{
    return MenuItemState(m_hWnd, text);
}

std::wstring FakeFeatureHost::MenuText(const std::wstring& text) const
{
    return MenuItemText(m_hWnd, text);
}

std::string FakeFeatureHost::SavedOptions() const
{
    const std::string file = ReadFileBytes(m_dir.File(L"UserVar.ini"));
    const size_t at = file.find("[options]\r\n");
    if (at == std::string::npos)
        return std::string();
    const size_t from = at + std::string("[options]\r\n").size();
    const size_t to = file.find('[', from);
    return file.substr(from, to == std::string::npos ? std::string::npos : to - from);
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
    if (pHost && pHost->m_list.OnMessage(message, wParam, lParam, &lResult))
        return lResult;
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}
