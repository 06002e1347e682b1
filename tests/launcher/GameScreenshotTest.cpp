// Screenshots: written whole and right way up whatever pixel format the PNG
// encoder takes, never seen half-written, and of the game alone.

#include "harness/MenuItems.h"
#include "harness/LauncherFixture.h"
#include "harness/LauncherProcess.h"
#include "harness/MenuClicker.h"
#include "harness/MessagePump.h"
#include "harness/Png.h"
#include "harness/TestHandles.h"

#include "framework/ComObject.h"
#include "launcher/services/GameScreenshot.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

const COLORREF kGameColour = RGB(10, 200, 30);

// Windows' PNG encoder, as Wine's conformance tests show it: asked for
// 32-bit BGR it takes 24-bit BGR and says so; pixels written as they are
// then land in the wrong places. Made over the system's encoder; onCommit
// runs when the picture is committed, and may fail it.
class WindowsPngFrame final : public ComObject<IWICBitmapFrameEncode>
{
public:
    WindowsPngFrame(ComPtr<IWICBitmapFrameEncode> pFrame, const std::function<HRESULT()>& onCommit)
        : m_pFrame(std::move(pFrame)), m_onCommit(onCommit)
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override
    {
        *ppv = (iid == IID_IUnknown || iid == IID_IWICBitmapFrameEncode) ? this : nullptr;
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Initialize(IPropertyBag2* pOptions) override { return m_pFrame->Initialize(pOptions); }
    HRESULT STDMETHODCALLTYPE SetSize(UINT cx, UINT cy) override { return m_pFrame->SetSize(cx, cy); }
    HRESULT STDMETHODCALLTYPE SetResolution(double x, double y) override { return m_pFrame->SetResolution(x, y); }
    HRESULT STDMETHODCALLTYPE SetPixelFormat(WICPixelFormatGUID* pFormat) override
    {
        if (*pFormat == GUID_WICPixelFormat32bppBGR)
            *pFormat = GUID_WICPixelFormat24bppBGR;
        return m_pFrame->SetPixelFormat(pFormat);
    }
    HRESULT STDMETHODCALLTYPE SetColorContexts(UINT n, IWICColorContext** pp) override
    {
        return m_pFrame->SetColorContexts(n, pp);
    }
    HRESULT STDMETHODCALLTYPE SetPalette(IWICPalette* p) override { return m_pFrame->SetPalette(p); }
    HRESULT STDMETHODCALLTYPE SetThumbnail(IWICBitmapSource* p) override { return m_pFrame->SetThumbnail(p); }
    HRESULT STDMETHODCALLTYPE WritePixels(UINT lines, UINT stride, UINT cb, BYTE* p) override
    {
        return m_pFrame->WritePixels(lines, stride, cb, p);
    }
    HRESULT STDMETHODCALLTYPE WriteSource(IWICBitmapSource* p, WICRect* prc) override
    {
        return m_pFrame->WriteSource(p, prc);
    }
    HRESULT STDMETHODCALLTYPE Commit() override
    {
        const HRESULT hr = m_onCommit ? m_onCommit() : S_OK;
        return FAILED(hr) ? hr : m_pFrame->Commit();
    }
    HRESULT STDMETHODCALLTYPE GetMetadataQueryWriter(IWICMetadataQueryWriter** pp) override
    {
        return m_pFrame->GetMetadataQueryWriter(pp);
    }

private:
    ComPtr<IWICBitmapFrameEncode> m_pFrame;
    std::function<HRESULT()> m_onCommit;
};

class WindowsPngEncoder final : public ComObject<IWICBitmapEncoder>
{
public:
    WindowsPngEncoder(ComPtr<IWICBitmapEncoder> pEncoder, const std::function<HRESULT()>& onCommit)
        : m_pEncoder(std::move(pEncoder)), m_onCommit(onCommit)
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override
    {
        *ppv = (iid == IID_IUnknown || iid == IID_IWICBitmapEncoder) ? this : nullptr;
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Initialize(IStream* p, WICBitmapEncoderCacheOption o) override
    {
        return m_pEncoder->Initialize(p, o);
    }
    HRESULT STDMETHODCALLTYPE GetContainerFormat(GUID* p) override { return m_pEncoder->GetContainerFormat(p); }
    HRESULT STDMETHODCALLTYPE GetEncoderInfo(IWICBitmapEncoderInfo** pp) override
    {
        return m_pEncoder->GetEncoderInfo(pp);
    }
    HRESULT STDMETHODCALLTYPE SetColorContexts(UINT n, IWICColorContext** pp) override
    {
        return m_pEncoder->SetColorContexts(n, pp);
    }
    HRESULT STDMETHODCALLTYPE SetPalette(IWICPalette* p) override { return m_pEncoder->SetPalette(p); }
    HRESULT STDMETHODCALLTYPE SetThumbnail(IWICBitmapSource* p) override { return m_pEncoder->SetThumbnail(p); }
    HRESULT STDMETHODCALLTYPE SetPreview(IWICBitmapSource* p) override { return m_pEncoder->SetPreview(p); }
    HRESULT STDMETHODCALLTYPE CreateNewFrame(IWICBitmapFrameEncode** ppFrame, IPropertyBag2** ppOptions) override
    {
        ComPtr<IWICBitmapFrameEncode> pFrame;
        const HRESULT hr = m_pEncoder->CreateNewFrame(pFrame.Put(), ppOptions);
        if (FAILED(hr))
            return hr;
        *ppFrame = new WindowsPngFrame(pFrame, m_onCommit);
        (*ppFrame)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Commit() override { return m_pEncoder->Commit(); }
    HRESULT STDMETHODCALLTYPE GetMetadataQueryWriter(IWICMetadataQueryWriter** pp) override
    {
        return m_pEncoder->GetMetadataQueryWriter(pp);
    }

private:
    ComPtr<IWICBitmapEncoder> m_pEncoder;
    std::function<HRESULT()> m_onCommit;
};

// Screenshots written through Windows' encoder.
class ScreenshotsAsOnWindows : public CGameScreenshot
{
public:
    using CGameScreenshot::CGameScreenshot;
    std::function<HRESULT()> onCommit;
    bool bWindows7 = false; // prints no window whole: the screen is read

protected:
    ComPtr<IWICBitmapEncoder> CreatePngEncoder(IWICImagingFactory* pFactory) override
    {
        return ComPtr<IWICBitmapEncoder>(new WindowsPngEncoder(CGameScreenshot::CreatePngEncoder(pFactory), onCommit));
    }
    bool PrintsWholeWindows() const override { return !bWindows7 && CGameScreenshot::PrintsWholeWindows(); }
};

// Four columns and three rows of colours no two alike: a picture turned,
// mirrored or smeared cannot come back the same.
CPicture Checkerboard()
{
    CPicture picture;
    picture.cx = 4;
    picture.cy = 3;
    for (BYTE y = 0; y < 3; ++y)
        for (BYTE x = 0; x < 4; ++x)
            picture.bits.insert(picture.bits.end(), {BYTE(40 * x), BYTE(80 * y), BYTE(200 - 10 * (x + y)), 0});
    return picture;
}

// No launcher: the fake control's class is there for OLE, which the imaging
// components need.
class GameScreenshotTest : public LauncherFixture
{
protected:
    GameScreenshotTest() : LauncherFixture(Setup().StartLater()) {}

    ScreenshotsAsOnWindows m_shots{m_dir.File(L"截图").c_str()};
};

TEST_F(GameScreenshotTest, PictureComesBackWithItsColoursTheRightWayUp)
{
    const CPicture picture = Checkerboard();
    CGameScreenshot systemEncoder(m_dir.File(L"截图").c_str());
    for (CGameScreenshot* pShots :
         {static_cast<CGameScreenshot*>(&systemEncoder), static_cast<CGameScreenshot*>(&m_shots)})
    {
        const CString strPath = pShots->Save(picture);
        ASSERT_FALSE(strPath.IsEmpty());
        const CPicture saved = ReadPng(static_cast<const wchar_t*>(strPath));
        ASSERT_EQ(saved.cx, 4u);
        ASSERT_EQ(saved.cy, 3u);
        for (UINT y = 0; y < 3; ++y)
            for (UINT x = 0; x < 4; ++x)
                EXPECT_EQ(PixelAt(saved, x, y), PixelAt(picture, x, y)) << x << "," << y;
    }
}

TEST_F(GameScreenshotTest, NobodySeesAPictureBeforeItIsWholeOrAfterItFailed)
{
    std::vector<std::wstring> whileWriting;
    m_shots.onCommit = [&] {
        whileWriting = FileNames(m_shots.Folder().GetString());
        return S_OK;
    };
    EXPECT_FALSE(m_shots.Save(Checkerboard()).IsEmpty());
    ASSERT_EQ(whileWriting.size(), 1u);
    EXPECT_EQ(whileWriting[0].substr(whileWriting[0].size() - 5), L".part");
    EXPECT_EQ(FileNames(m_shots.Folder().GetString(), L"*.part").size(), 0u);

    m_shots.onCommit = [] { return WINCODEC_ERR_STREAMWRITE; }; // the disk is full
    EXPECT_TRUE(m_shots.Save(Checkerboard()).IsEmpty());
    EXPECT_EQ(FileNames(m_shots.Folder().GetString()).size(), 1u) << "only the first picture";
}

TEST_F(GameScreenshotTest, TakenNamesGetASuffix)
{
    const SYSTEMTIME time = {2026, 12, 2, 8, 1, 2, 3, 0};
    EXPECT_STREQ(CGameScreenshot::FreeName(L".", time), L".\\Orlim-20261208-010203.png");
    WriteFileBytes(m_dir.File(L"Orlim-20261208-010203.png"), "x");
    EXPECT_STREQ(CGameScreenshot::FreeName(L".", time), L".\\Orlim-20261208-010203-2.png");
    WriteFileBytes(m_dir.File(L"Orlim-20261208-010203-2.png"), "x");
    EXPECT_STREQ(CGameScreenshot::FreeName(L".", time), L".\\Orlim-20261208-010203-3.png");
}

TEST_F(GameScreenshotTest, ANameTakenWhileWritingMovesOnToTheNext)
{
    // Another launcher renames its picture of the same second into place first.
    m_shots.onCommit = [&] {
        const std::wstring part = FileNames(m_shots.Folder().GetString(), L"*.part").at(0);
        const std::wstring name = part.substr(0, part.find(L".png") + 4);
        WriteFileBytes(std::wstring(m_shots.Folder().GetString()) + L"\\" + name, "the other launcher's");
        return S_OK;
    };
    const std::wstring path = m_shots.Save(Checkerboard()).GetString();
    EXPECT_EQ(path.substr(path.size() - 6), L"-2.png");
    EXPECT_EQ(FileNames(m_shots.Folder().GetString()).size(), 2u);
}

// A window that draws three bands, red, green and blue from the top, on
// the screen and when asked to print itself.
LRESULT CALLBACK BandsProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT && message != WM_PRINTCLIENT)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    const HDC hdc = message == WM_PAINT ? ::BeginPaint(hWnd, &ps) : reinterpret_cast<HDC>(wParam);
    RECT rc = ClientRect(hWnd);
    const int band = Height(rc) / 3;
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (int i = 0; i < 3; ++i)
    {
        const RECT rcBand = {0, i * band, rc.right, (i + 1) * band};
        const UniqueBrush brush(::CreateSolidBrush(colours[i]));
        ::FillRect(hdc, &rcBand, brush.Get());
    }
    if (message == WM_PAINT)
        ::EndPaint(hWnd, &ps);
    return 0;
}

TEST_F(GameScreenshotTest, AWindowsOwnContentIsCutToTheRectangleAlsoPastTheScreen)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BandsProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OrlimTestBands";
    ::RegisterClassW(&wc);
    // Partly past the screen's left edge.
    const HWND hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, -50, 100, 200, 300, nullptr,
                                        nullptr, wc.hInstance, nullptr);
    CPicture picture;
    const RECT rcScreen = {-40, 150, 60, 300}; // the lower half of the red band and the green one
    ASSERT_TRUE(CGameScreenshot::CaptureWindowContent(hWnd, rcScreen, picture));
    EXPECT_EQ(picture.cx, 100u);
    EXPECT_EQ(picture.cy, 150u);
    EXPECT_EQ(PixelAt(picture, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(picture, 99, 49), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(picture, 0, 50), RGB(0, 255, 0));
    EXPECT_EQ(PixelAt(picture, 99, 149), RGB(0, 255, 0));
    ::DestroyWindow(hWnd);
}

// Windows at 150 % for a program that is not DPI-aware.
BOOL WINAPI LogicalToPhysicalAt150(HWND, LPPOINT lpPoint)
{
    lpPoint->x = lpPoint->x * 3 / 2;
    lpPoint->y = lpPoint->y * 3 / 2;
    return TRUE;
}

TEST_F(GameScreenshotTest, TheScreenIsReadInItsOwnPixels)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BandsProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OrlimTestBands";
    ::RegisterClassW(&wc);
    // Three bands of 100 screen pixels: what the launcher sees as 200 high.
    const HWND hWnd = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 150, 150, 300, 300,
                                        nullptr, nullptr, wc.hInstance, nullptr);
    PumpPending();
    CPicture picture;
    const RECT rcLogical = {100, 100, 300, 300};
    ASSERT_TRUE(CGameScreenshot::CaptureFromScreen(hWnd, rcLogical, picture, LogicalToPhysicalAt150));
    EXPECT_EQ(picture.cx, 300u);
    EXPECT_EQ(picture.cy, 300u);
    EXPECT_EQ(PixelAt(picture, 299, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(picture, 0, 299), RGB(0, 0, 255));
    ::DestroyWindow(hWnd);
}

TEST_F(GameScreenshotTest, OnWindows7TheLauncherIsAboveAllOnlyWhileThePictureIsRead)
{
    LauncherWindow& launcher = Start();
    m_shots.bWindows7 = true;
    ASSERT_TRUE(m_shots.Prepare(launcher.Hwnd()));
    EXPECT_TRUE(::GetWindowLongW(launcher.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(m_shots.Take(WindowRect(launcher.Pane())).IsEmpty());
    EXPECT_FALSE(::GetWindowLongW(launcher.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "left above every window";
}

TEST_F(GameScreenshotTest, APictureOfASecondThatHasOneTakesANameOfItsOwn)
{
    // Pictures of this second and the next two are there already.
    ::CreateDirectoryW(m_dir.File(L"截图").c_str(), nullptr);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    FILETIME ft;
    ::SystemTimeToFileTime(&now, &ft);
    std::vector<std::wstring> taken;
    for (int nSecond = 0; nSecond < 3; ++nSecond)
    {
        ULARGE_INTEGER t = {{ft.dwLowDateTime, ft.dwHighDateTime}};
        t.QuadPart += nSecond * 10000000ULL;
        const FILETIME ftThen = {t.LowPart, t.HighPart};
        SYSTEMTIME then;
        ::FileTimeToSystemTime(&ftThen, &then);
        taken.emplace_back(CGameScreenshot::FreeName(m_dir.File(L"截图").c_str(), then));
        WriteFileBytes(taken.back(), "taken");
    }
    const CString strPath = m_shots.Save(Checkerboard());
    ASSERT_FALSE(strPath.IsEmpty());
    for (const std::wstring& path : taken)
    {
        EXPECT_NE(path, static_cast<const wchar_t*>(strPath));
        EXPECT_EQ(ReadFileBytes(path), "taken");
    }
}

TEST_F(GameScreenshotTest, AMinimisedLauncherGivesNoPicture)
{
    LauncherWindow& launcher = Start();
    ::ShowWindow(launcher.Hwnd(), SW_MINIMIZE);
    EXPECT_FALSE(m_shots.Prepare(launcher.Hwnd()));
    EXPECT_TRUE(m_shots.Take(WindowRect(launcher.Hwnd())).IsEmpty());
    EXPECT_FALSE(m_shots.FolderExists());
}

using ScreenshotOfTheGameTest = LauncherFixture;

TEST_F(ScreenshotOfTheGameTest, ChosenFromTheMenuItIsTheGameAloneWhateverLayOverIt)
{
    // Taller than the pane shows it. The player takes the picture of the
    // game as the fit shows it: once its top is at the pane's.
    const HWND hGame = MakeFlashWindow(Launcher().Explorer(), 12, 100, 1000, 900, kGameColour);
    const HWND hPane = ::GetParent(Launcher().Explorer());
    ASSERT_TRUE(PumpUntil([&] { return WindowRect(hGame).top == WindowRect(hPane).top; }));
    const RECT rcGame = WindowRect(hGame);

    // Another program's window, always on top, over the game's right part.
    ::CreateDirectoryW(m_dir.File(L"other").c_str(), nullptr);
    LauncherProcess other(m_dir.File(L"other"));
    const HWND hOther = other.WaitForWindow();
    ASSERT_NE(hOther, nullptr);
    ::SetForegroundWindow(Hwnd());
    ::SetWindowPos(hOther, HWND_TOPMOST, rcGame.left + 600, rcGame.top + 100, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    PumpPending();

    // The menu opens over the game's top-left corner; its item is clicked.
    MenuClicker::ChooseWhenOpen(Hwnd(), MenuCommand(Hwnd(), L"截图"));
    ::SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE);
    ASSERT_TRUE(PumpUntil([&] { return FileNames(m_dir.File(L"截图"), L"*.png").size() == 1; }));

    const CPicture picture = ReadPng(m_dir.File(L"截图\\" + FileNames(m_dir.File(L"截图"), L"*.png")[0]));
    // What the browser shows of the game.
    const RECT rcBrowser = WindowRect(Launcher().Explorer());
    RECT rcShown;
    ::IntersectRect(&rcShown, &rcGame, &rcBrowser);
    ASSERT_EQ(picture.cx, 1000u);
    ASSERT_EQ(picture.cy, static_cast<UINT>(Height(rcShown)));
    ASSERT_LT(Height(rcShown), 900);
    int others = 0;
    for (UINT y = 0; y < picture.cy; ++y)
        for (UINT x = 0; x < picture.cx; ++x)
            others += PixelAt(picture, x, y) != kGameColour;
    EXPECT_EQ(others, 0);
    EXPECT_EQ(::GetWindowLongW(Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "back in its place";
    ::DestroyWindow(hGame);
}

} // namespace
