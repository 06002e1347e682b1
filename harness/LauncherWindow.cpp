#include "LauncherWindow.h"

#include "MessagePump.h"

#include "framework/COleControlContainer.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"

#include <shellapi.h>

#include <stdexcept>
#include <vector>

LauncherWindow::LauncherWindow(bool bMinimised)
{
    AfxEnableControlContainer();
    m_app.m_pMainWnd = &m_dlg;
    if (!m_dlg.Create(IDD_LAUNCHER_DIALOG))
        throw std::runtime_error("the launcher could not be created");
    if (bMinimised)
        ::ShowWindow(m_dlg.m_hWnd, SW_SHOWMINNOACTIVE);
    PumpPending();
}

LauncherWindow::~LauncherWindow()
{
    Destroy();
}

void LauncherWindow::Destroy()
{
    if (m_dlg.m_hWnd)
        m_dlg.DestroyWindow();
    PumpPending();
}

HWND LauncherWindow::Pane() const
{
    return ::FindWindowExW(m_dlg.m_hWnd, nullptr, L"#32770", nullptr);
}

HWND LauncherWindow::Explorer() const
{
    return ::GetDlgItem(Pane(), IDC_EXPLORER);
}

void LauncherWindow::ChooseRow(int nRow)
{
    const HWND hCombo = Item(IDC_PLATFORM_COMBO);
    ::SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nRow), 0);
    // What the drop-down tells its dialog when the player picks a row.
    ::SendMessageW(m_dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_PLATFORM_COMBO, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(hCombo));
    PumpPending();
}

void LauncherWindow::ClickEnter()
{
    ::SendMessageW(Item(IDC_ENTER_BUTTON), BM_CLICK, 0, 0);
    PumpPending();
}

void LauncherWindow::ClickAutoFit()
{
    ::SendMessageW(Item(IDC_AUTOFIT_CHECK), BM_CLICK, 0, 0);
    PumpPending();
}

void LauncherWindow::TypeUrl(const std::wstring& text)
{
    ::SendMessageW(Item(IDC_URL_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int LauncherWindow::CurrentRow() const
{
    return static_cast<int>(::SendMessageW(Item(IDC_PLATFORM_COMBO), CB_GETCURSEL, 0, 0));
}

int LauncherWindow::RowCount() const
{
    return static_cast<int>(::SendMessageW(Item(IDC_PLATFORM_COMBO), CB_GETCOUNT, 0, 0));
}

std::wstring LauncherWindow::RowText(int nRow) const
{
    const HWND hCombo = Item(IDC_PLATFORM_COMBO);
    const LRESULT n = ::SendMessageW(hCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(nRow), 0);
    if (n == CB_ERR)
        return L"<no row>";
    std::vector<wchar_t> buffer(static_cast<size_t>(n) + 1);
    ::SendMessageW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(buffer.data()));
    return std::wstring(buffer.data());
}

std::wstring LauncherWindow::UrlText() const
{
    return WindowText(Item(IDC_URL_EDIT));
}

bool LauncherWindow::UrlEnabled() const
{
    return ::IsWindowEnabled(Item(IDC_URL_EDIT)) != FALSE;
}

bool LauncherWindow::AutoFitChecked() const
{
    return ::SendMessageW(Item(IDC_AUTOFIT_CHECK), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void LauncherWindow::Tick()
{
    ::SendMessageW(m_dlg.m_hWnd, WM_TIMER, 0, 0);
}

namespace
{

LRESULT CALLBACK PaintedGameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    const HDC hdc = ::BeginPaint(hWnd, &ps);
    const UniqueBrush brush(::CreateSolidBrush(static_cast<COLORREF>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA))));
    ::FillRect(hdc, &ps.rcPaint, brush.Get());
    ::EndPaint(hWnd, &ps);
    return 0;
}

} // namespace

HWND MakeFlashWindow(HWND hParent, int x, int y, int cx, int cy, COLORREF colour)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MacromediaFlashPlayerActiveX";
    ::RegisterClassW(&wc); // once a process; later calls find it there
    const HWND hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, x, y, cx, cy, hParent, nullptr,
                                        wc.hInstance, nullptr);
    if (hWnd && colour != CLR_INVALID)
    {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PaintedGameProc));
    }
    return hWnd;
}

void PressKey(HWND hWnd, WPARAM vk)
{
    const UINT scan = ::MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1 | (scan << 16));
    ::PostMessageW(hWnd, WM_KEYUP, vk, 1 | (scan << 16) | (3u << 30));
    PumpPending();
}

void TypeKeys(std::initializer_list<WORD> keys, int nRepeats)
{
    std::vector<INPUT> inputs;
    const auto add = [&inputs](WORD vk, DWORD dwFlags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = dwFlags;
        inputs.push_back(input);
    };
    for (WORD vk : keys)
        add(vk, 0);
    for (int i = 0; i < nRepeats; ++i)
        add(*(keys.end() - 1), 0);
    for (auto it = keys.end(); it != keys.begin();)
        add(*--it, KEYEVENTF_KEYUP);
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::wstring WindowText(HWND hWnd)
{
    const LRESULT n = ::SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0);
    std::vector<wchar_t> buffer(static_cast<size_t>(n) + 1);
    const LRESULT copied =
        ::SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(buffer.size()), reinterpret_cast<LPARAM>(buffer.data()));
    return std::wstring(buffer.data(), static_cast<size_t>(copied));
}

std::wstring ClassName(HWND hWnd)
{
    wchar_t buffer[256];
    const int n = ::GetClassNameW(hWnd, buffer, 256);
    return std::wstring(buffer, static_cast<size_t>(n > 0 ? n : 0));
}

RECT WindowRect(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

int Width(const RECT& rc)
{
    return rc.right - rc.left;
}

int Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

RECT ClientRect(HWND hWnd)
{
    RECT rc = {};
    ::GetClientRect(hWnd, &rc);
    return rc;
}

RECT RectInParent(HWND hWnd)
{
    RECT rc = WindowRect(hWnd);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}

namespace
{

BOOL CALLBACK CountVisible(HWND hWnd, LPARAM lParam)
{
    *reinterpret_cast<int*>(lParam) += ::IsWindowVisible(hWnd) ? 1 : 0;
    return TRUE;
}

} // namespace

int VisibleThreadWindows()
{
    int visible = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountVisible, reinterpret_cast<LPARAM>(&visible));
    return visible;
}

bool IconShown(HWND hWnd)
{
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = hWnd;
    nid.uID = 1;
    return ::Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}
