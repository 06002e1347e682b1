#include "GameScreenshot.h"

#include "framework/CDC.h"
#include "framework/CRect.h"
#include "framework/SystemFunction.h"
#include "framework/UniqueHandle.h"

#include <shellapi.h>

namespace
{

#ifndef PW_RENDERFULLCONTENT
const UINT PW_RENDERFULLCONTENT = 0x00000002; // Windows 8.1 and later
#endif

const wchar_t kStemFormat[] = L"%ls\\Orlim-%04u%02u%02u-%02u%02u%02u";
const int kMostSuffix = 9999;

// A 32-bit picture of cx x cy pixels to draw into, and where its bits are.
// A 32-bit bitmap, top row first, selected into a memory device context
// compatible with the screen for as long as it lives.
class DrawingSurface
{
public:
    DrawingSurface(int cx, int cy)
        : m_cx(cx), m_hDC(::CreateCompatibleDC(nullptr)), m_dc(m_hDC.Get()), m_hBitmap(MakeBitmap(cx, cy)),
          m_selected(m_dc, m_hBitmap.Get())
    {
    }

    bool IsMade() const noexcept { return m_hDC && m_hBitmap; }
    HDC DC() const noexcept { return m_hDC.Get(); }

    // The rows of a part of what was drawn.
    void CopyRows(const RECT& rcPart, CPicture& picture) const
    {
        ::GdiFlush();
        picture.cx = static_cast<UINT>(rcPart.right - rcPart.left);
        picture.cy = static_cast<UINT>(rcPart.bottom - rcPart.top);
        picture.bits.resize(size_t(picture.cx) * picture.cy * 4);
        const auto* pSurface = static_cast<const BYTE*>(m_pBits);
        for (UINT y = 0; y < picture.cy; ++y)
        {
            const BYTE* pRow = pSurface + (size_t(rcPart.top + int(y)) * size_t(m_cx) + size_t(rcPart.left)) * 4;
            std::copy(pRow, pRow + size_t(picture.cx) * 4, picture.bits.begin() + std::ptrdiff_t(y) * picture.cx * 4);
        }
    }

private:
    HBITMAP MakeBitmap(int cx, int cy)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy; // top row first
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        return m_hDC ? ::CreateDIBSection(m_hDC.Get(), &bmi, DIB_RGB_COLORS, &m_pBits, nullptr, 0) : nullptr;
    }

    int m_cx;
    void* m_pBits = nullptr;
    UniqueMemoryDC m_hDC;
    CDC m_dc;
    UniqueBitmap m_hBitmap;
    ScopedSelectObject m_selected;
};

} // namespace

// Windows 8.1 and later draw a window's whole content, whatever it is made
// of, when asked to print it so. Read from the kernel: the version the
// program is told depends on its manifest.
bool CGameScreenshot::PrintsWholeWindows() const
{
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto pfn = SystemFunction<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion");
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    return pfn && pfn(&info) == 0 &&
           (info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion >= 3));
}

BOOL WINAPI CGameScreenshot::LogicalToPhysical(HWND hWnd, LPPOINT lpPoint)
{
    static const auto pfnPerMonitor =
        SystemFunction<ToPhysicalFn>(L"user32.dll", "LogicalToPhysicalPointForPerMonitorDPI");
    return pfnPerMonitor ? pfnPerMonitor(hWnd, lpPoint) : ::LogicalToPhysicalPoint(hWnd, lpPoint);
}

namespace
{

bool IsTopMost(HWND hWnd)
{
    return (::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

const UINT kRaiseFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

} // namespace

CGameScreenshot::CGameScreenshot(const CString& strFolder) : m_strFolder(strFolder) {}

CGameScreenshot::~CGameScreenshot()
{
    Restore();
}

bool CGameScreenshot::Prepare(HWND hWndLauncher)
{
    Restore();
    if (::IsIconic(hWndLauncher) || !::IsWindowVisible(hWndLauncher))
        return false;
    m_hWndPrepared = hWndLauncher;
    if (PrintsWholeWindows())
        return true;
    // Another program's window over the game is not the game, and it is
    // that program's private matter: the launcher is above them all for the
    // moment the screen is read.
    m_hWndAbove = ::GetWindow(hWndLauncher, GW_HWNDPREV);
    m_bWasTopMost = IsTopMost(hWndLauncher);
    m_bRaised = true;
    // What the raise uncovers is painted by the message loop before Take.
    ::SetWindowPos(hWndLauncher, HWND_TOPMOST, 0, 0, 0, 0, kRaiseFlags);
    return true;
}

void CGameScreenshot::Restore()
{
    if (m_bRaised && ::IsWindow(m_hWndPrepared))
    {
        if (!m_bWasTopMost)
            ::SetWindowPos(m_hWndPrepared, HWND_NOTOPMOST, 0, 0, 0, 0, kRaiseFlags);
        // Right below the window that was above it, when that one is of the
        // same band (a topmost one would take a window placed after it in).
        if (m_hWndAbove && ::IsWindow(m_hWndAbove) && IsTopMost(m_hWndAbove) == m_bWasTopMost)
            ::SetWindowPos(m_hWndPrepared, m_hWndAbove, 0, 0, 0, 0, kRaiseFlags);
    }
    m_bRaised = false;
    m_hWndPrepared = nullptr;
}

CString CGameScreenshot::Take(const RECT& rcScreen)
{
    const HWND hWnd = m_hWndPrepared;
    CPicture picture;
    const bool bTaken =
        hWnd && !::IsRectEmpty(&rcScreen) &&
        ((!m_bRaised && CaptureWindowContent(hWnd, rcScreen, picture)) || CaptureFromScreen(hWnd, rcScreen, picture));
    Restore();
    return bTaken ? Save(picture) : CString();
}

bool CGameScreenshot::CaptureWindowContent(HWND hWnd, const RECT& rcScreen, CPicture& picture)
{
    CRect rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    CRect rcPart;
    if (!::IntersectRect(&rcPart, &rcScreen, &rcWindow))
        return false;
    ::OffsetRect(&rcPart, -rcWindow.left, -rcWindow.top);
    const DrawingSurface surface(rcWindow.Width(), rcWindow.Height());
    if (!surface.IsMade() || !::PrintWindow(hWnd, surface.DC(), PW_RENDERFULLCONTENT))
        return false;
    surface.CopyRows(rcPart, picture);
    return true;
}

bool CGameScreenshot::CaptureFromScreen(HWND hWnd, const RECT& rcScreen, CPicture& picture, ToPhysicalFn pfnToPhysical)
{
    // What lies past the screen's edges cannot be read from it.
    const RECT rcDesktop = {::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                            ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                            ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT rcVisible;
    if (!::IntersectRect(&rcVisible, &rcScreen, &rcDesktop))
        return false;
    // The launcher is not DPI-aware: at 125 % or 150 % the rectangles it
    // reads are logical, the screen's pixels physical. (Both corners lie in
    // the window, edges included, as the mapping asks.)
    POINT ptTopLeft = {rcVisible.left, rcVisible.top};
    POINT ptBottomRight = {rcVisible.right, rcVisible.bottom};
    const CRect rcPhysical = pfnToPhysical(hWnd, &ptTopLeft) && pfnToPhysical(hWnd, &ptBottomRight)
                                 ? CRect(ptTopLeft.x, ptTopLeft.y, ptBottomRight.x, ptBottomRight.y)
                                 : CRect(rcVisible);

    // With desktop composition, until the screen shows what was painted;
    // without, there is nothing to wait for.
    using DwmFlushFn = HRESULT(WINAPI*)();
    if (const auto pfnDwmFlush = SystemFunction<DwmFlushFn>(L"dwmapi.dll", "DwmFlush"))
        pfnDwmFlush();
    const UniqueWindowDC hScreen(nullptr);
    const DrawingSurface surface(rcPhysical.Width(), rcPhysical.Height());
    if (!hScreen || !surface.IsMade() ||
        !::BitBlt(surface.DC(), 0, 0, rcPhysical.Width(), rcPhysical.Height(), hScreen.Get(), rcPhysical.left,
                  rcPhysical.top, SRCCOPY))
        return false;
    surface.CopyRows(CRect(0, 0, rcPhysical.Width(), rcPhysical.Height()), picture);
    return true;
}

CString CGameScreenshot::FreeName(const CString& strFolder, const SYSTEMTIME& time)
{
    CString strStem;
    strStem.Format(kStemFormat, static_cast<const wchar_t*>(strFolder), time.wYear, time.wMonth, time.wDay, time.wHour,
                   time.wMinute, time.wSecond);
    CString strPath;
    strPath.Format(L"%ls.png", static_cast<const wchar_t*>(strStem));
    for (int nSuffix = 2; ::GetFileAttributesW(strPath) != INVALID_FILE_ATTRIBUTES && nSuffix <= kMostSuffix; ++nSuffix)
        strPath.Format(L"%ls-%d.png", static_cast<const wchar_t*>(strStem), nSuffix);
    return strPath;
}

CString CGameScreenshot::Save(const CPicture& picture)
{
    if (picture.cx == 0 || picture.cy == 0)
        return CString();
    if (!::CreateDirectoryW(m_strFolder, nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return CString();
    if (!FolderExists())
        return CString();

    SYSTEMTIME now;
    ::GetLocalTime(&now);
    // Written under a name of its own first: a picture that cannot be
    // written whole leaves nothing under a picture's name, and nothing that
    // watches the folder sees half a picture.
    CString strPart;
    strPart.Format(L"%ls.%lu.part", static_cast<const wchar_t*>(FreeName(m_strFolder, now)), ::GetCurrentProcessId());
    if (WritePng(strPart, picture))
    {
        // Another launcher may take the free name first: then the next one.
        for (int nTry = 0; nTry < kMostSuffix; ++nTry)
        {
            CString strPath = FreeName(m_strFolder, now);
            if (::MoveFileExW(strPart, strPath, MOVEFILE_WRITE_THROUGH))
                return strPath;
            const DWORD dwError = ::GetLastError();
            if (dwError != ERROR_ALREADY_EXISTS && dwError != ERROR_FILE_EXISTS)
                break;
        }
    }
    ::DeleteFileW(strPart);
    return CString();
}

bool CGameScreenshot::FolderExists() const
{
    const DWORD dwAttributes = ::GetFileAttributesW(m_strFolder);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CGameScreenshot::OpenFolder(HWND hWndOwner) const
{
    // Explorer shows what it can; it tells the player itself when it cannot.
    ::ShellExecuteW(hWndOwner, L"explore", m_strFolder, nullptr, nullptr, SW_SHOWNORMAL);
}

ComPtr<IWICBitmapEncoder> CGameScreenshot::CreatePngEncoder(IWICImagingFactory* pFactory)
{
    ComPtr<IWICBitmapEncoder> pEncoder;
    if (FAILED(pFactory->CreateEncoder(GUID_ContainerFormatPng, nullptr, pEncoder.Put())))
        pEncoder.Reset();
    return pEncoder;
}

bool CGameScreenshot::WritePng(const wchar_t* lpszPath, const CPicture& picture)
{
    ComPtr<IWICImagingFactory> pFactory;
    ComPtr<IWICBitmap> pBitmap;
    ComPtr<IWICStream> pStream;
    ComPtr<IWICBitmapEncoder> pEncoder;
    ComPtr<IWICBitmapFrameEncode> pFrame;
    ComPtr<IPropertyBag2> pProps;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  pFactory.PutVoid())) ||
        FAILED(pFactory->CreateBitmapFromMemory(picture.cx, picture.cy, GUID_WICPixelFormat32bppBGR, picture.cx * 4,
                                                static_cast<UINT>(picture.bits.size()),
                                                const_cast<BYTE*>(picture.bits.data()), pBitmap.Put())) ||
        FAILED(pFactory->CreateStream(pStream.Put())) ||
        FAILED(pStream->InitializeFromFilename(lpszPath, GENERIC_WRITE)))
        return false;
    pEncoder = CreatePngEncoder(pFactory.Get());
    // The encoder may answer with another format than the one asked for
    // (Windows' answers 24-bit for 32-bit BGR): the picture is handed over
    // as a source, which is converted to whatever the frame took.
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    return pEncoder && SUCCEEDED(pEncoder->Initialize(pStream.Get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(pEncoder->CreateNewFrame(pFrame.Put(), pProps.Put())) &&
           SUCCEEDED(pFrame->Initialize(pProps.Get())) && SUCCEEDED(pFrame->SetSize(picture.cx, picture.cy)) &&
           SUCCEEDED(pFrame->SetPixelFormat(&format)) && SUCCEEDED(pFrame->WriteSource(pBitmap.Get(), nullptr)) &&
           SUCCEEDED(pFrame->Commit()) && SUCCEEDED(pEncoder->Commit());
}
