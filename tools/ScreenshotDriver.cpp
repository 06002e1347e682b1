// Draws the pictures of docs/: runs the launcher in this process with the
// real browser control, sets up each scene and saves what the screen shows
// of the launcher as a BMP file (scripts/screenshots.sh turns them into PNG).
//   screenshot_driver.exe OUTPUT_DIRECTORY

#include "harness/MenuClicker.h"
#include "harness/FlashRegistration.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/ProxySetting.h"
#include "harness/RecordingProxy.h"
#include "harness/TempDir.h"

#include "harness/TestHandles.h"
#include "res/resource.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{

// Saves the screen's pixels in a rectangle as a 24-bit BMP.
bool SaveScreenPicture(const RECT& rc, const std::wstring& path)
{
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    const UniqueWindowDC hScreen(nullptr);
    const UniqueMemoryDC hMem(::CreateCompatibleDC(hScreen.Get()));
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const UniqueBitmap bitmap(::CreateDIBSection(hMem.Get(), &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    const HGDIOBJ hOld = ::SelectObject(hMem.Get(), bitmap.Get());
    ::BitBlt(hMem.Get(), 0, 0, width, height, hScreen.Get(), rc.left, rc.top, SRCCOPY);
    ::SelectObject(hMem.Get(), hOld);

    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
    const DWORD cbBits = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(bmi.bmiHeader);
    file.bfSize = file.bfOffBits + cbBits;
    const UniqueFileHandle h(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD n = 0;
    return h && ::WriteFile(h.Get(), &file, sizeof(file), &n, nullptr) &&
           ::WriteFile(h.Get(), &bmi.bmiHeader, sizeof(bmi.bmiHeader), &n, nullptr) &&
           ::WriteFile(h.Get(), bits, cbBits, &n, nullptr);
}

// Saves the screen's pixels under a window, frame included.
bool SaveWindowPicture(HWND hWnd, const std::wstring& path)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return SaveScreenPicture(rc, path);
}

// Opens the launcher's system menu and, from inside the menu's own loop,
// saves the launcher's top left corner with the menu over it.
bool TakeMenuPicture(HWND hLauncher, const std::wstring& path)
{
    bool bSaved = false;
    MenuClicker::WhenOpen([&](HWND hMenu) {
        RECT rc;
        RECT rcMenu;
        ::GetWindowRect(hLauncher, &rc);
        ::GetWindowRect(hMenu, &rcMenu);
        rc.right = rcMenu.right + 24;
        rc.bottom = rcMenu.bottom + 24;
        bSaved = SaveScreenPicture(rc, path);
        ::EndMenu();
    });
    ::PostMessageW(hLauncher, WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE);
    PumpUntil([&] { return bSaved; }, 2500);
    return bSaved;
}

// A stand-in for the game's Flash area, painted so that it shows.
LRESULT CALLBACK GameAreaProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    const HDC hdc = ::BeginPaint(hWnd, &ps);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    const UniqueGdiObject brush(::CreateSolidBrush(RGB(24, 40, 64)));
    ::FillRect(hdc, &rc, static_cast<HBRUSH>(brush.Get()));
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, RGB(230, 230, 230));
    const std::wstring text = L"Flash game area " + std::to_wstring(rc.right) + L" x " + std::to_wstring(rc.bottom);
    ::DrawTextW(hdc, text.c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::EndPaint(hWnd, &ps);
    return 0;
}

HWND CreateGameArea(HWND hParent, int x, int y, int cx, int cy)
{
    const HWND hWnd = MakeFlashWindow(hParent, x, y, cx, cy);
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GameAreaProc));
    return hWnd;
}

void Settle(HWND hWnd)
{
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(500);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: screenshot_driver OUTPUT_DIRECTORY\n");
        return 2;
    }
    const std::wstring out = argv[1];
    TempDir dir; // a first start: no settings file
    RecordingProxy proxy;
    ProxySetting setting(proxy.Port());
    bool ok = true;
    {
        // Without a Flash Player the strip says so.
        LauncherWindow launcher;
        ::SetForegroundWindow(launcher.Hwnd());
        Settle(launcher.Hwnd());
        RECT rc;
        ::GetWindowRect(launcher.Hwnd(), &rc);
        rc.bottom = rc.top + 64;
        ok = SaveScreenPicture(rc, out + L"\\flash-notice.bmp");
        launcher.Destroy();
        ::DeleteFileW(dir.File(L"UserVar.ini").c_str());
    }
    FlashRegistration flash(FlashRegistration::StandIn(L"34.0.0.384"), false);
    LauncherWindow launcher;
    const HWND hWnd = launcher.Hwnd();
    ::SetForegroundWindow(hWnd);

    Settle(hWnd);
    ok = SaveWindowPicture(hWnd, out + L"\\launcher.bmp") && ok;
    ok = TakeMenuPicture(hWnd, out + L"\\system-menu.bmp") && ok;
    Settle(hWnd);

    launcher.ChooseRow(78);
    launcher.TypeUrl(L"http://127.0.0.1:8080/orlim/login.html");
    ::SetFocus(launcher.Item(IDC_URL_EDIT));
    Settle(hWnd);
    ok = SaveWindowPicture(hWnd, out + L"\\manual-entry.bmp") && ok;

    // The game page puts its Flash area 12 pixels right of and 100 below the
    // browser's corner; the next tick fits the launcher to it.
    launcher.ChooseRow(1);
    CreateGameArea(launcher.Explorer(), 12, 100, 1000, 600);
    launcher.Tick(); // the Flash area follows the browser's width on a real page:
    const HWND hGame = ::FindWindowExW(launcher.Explorer(), nullptr, L"MacromediaFlashPlayerActiveX", nullptr);
    ::SetWindowPos(hGame, nullptr, 0, 0, 1100, 600, SWP_NOMOVE | SWP_NOZORDER);
    launcher.Tick();
    Settle(hWnd);
    ok = SaveWindowPicture(hWnd, out + L"\\fitted.bmp") && ok;
    return ok ? 0 : 1;
}
