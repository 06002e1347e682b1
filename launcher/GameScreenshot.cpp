#include "GameScreenshot.h"

#include "framework/CDC.h"
#include "framework/ComPtr.h"
#include "framework/UniqueHandle.h"

#include <wincodec.h>

#include <vector>

namespace
{

const wchar_t kFolder[] = L".\\截图";
const int kMostSuffix = 9999;

// The screen's pixels in a rectangle, top row first, 4 bytes a pixel (BGR
// and a byte that means nothing).
bool CaptureScreen(const RECT& rc, std::vector<BYTE>& pixels)
{
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    const UniqueScreenDC hScreen(::GetDC(nullptr));
    const UniqueMemoryDC hMemory(::CreateCompatibleDC(hScreen.Get()));
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    const UniqueBitmap hBitmap(::CreateDIBSection(hMemory.Get(), &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    if (!hScreen || !hMemory || !hBitmap)
        return false;
    CDC dc(hMemory.Get());
    {
        const ScopedSelectObject bitmap(dc, hBitmap.Get());
        if (!::BitBlt(hMemory.Get(), 0, 0, cx, cy, hScreen.Get(), rc.left, rc.top, SRCCOPY))
            return false;
    }
    ::GdiFlush();
    const auto* pFirst = static_cast<const BYTE*>(pBits);
    pixels.assign(pFirst, pFirst + size_t(cx) * size_t(cy) * 4);
    return true;
}

bool WritePng(const wchar_t* lpszPath, UINT cx, UINT cy, std::vector<BYTE>& pixels)
{
    ComPtr<IWICImagingFactory> pFactory;
    ComPtr<IWICStream> pStream;
    ComPtr<IWICBitmapEncoder> pEncoder;
    ComPtr<IWICBitmapFrameEncode> pFrame;
    ComPtr<IPropertyBag2> pProps;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    return SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                        pFactory.PutVoid())) &&
           SUCCEEDED(pFactory->CreateStream(pStream.Put())) &&
           SUCCEEDED(pStream->InitializeFromFilename(lpszPath, GENERIC_WRITE)) &&
           SUCCEEDED(pFactory->CreateEncoder(GUID_ContainerFormatPng, nullptr, pEncoder.Put())) &&
           SUCCEEDED(pEncoder->Initialize(pStream.Get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(pEncoder->CreateNewFrame(pFrame.Put(), pProps.Put())) &&
           SUCCEEDED(pFrame->Initialize(pProps.Get())) && SUCCEEDED(pFrame->SetSize(cx, cy)) &&
           SUCCEEDED(pFrame->SetPixelFormat(&format)) &&
           SUCCEEDED(pFrame->WritePixels(cy, cx * 4, static_cast<UINT>(pixels.size()), pixels.data())) &&
           SUCCEEDED(pFrame->Commit()) && SUCCEEDED(pEncoder->Commit());
}

} // namespace

CString CGameScreenshot::FreeName(const CString& strFolder, const SYSTEMTIME& time)
{
    CString strStem;
    strStem.Format(L"%ls\\Orlim-%04u%02u%02u-%02u%02u%02u", static_cast<const wchar_t*>(strFolder), time.wYear,
                   time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
    CString strPath;
    strPath.Format(L"%ls.png", static_cast<const wchar_t*>(strStem));
    for (int nSuffix = 2; ::GetFileAttributesW(strPath) != INVALID_FILE_ATTRIBUTES && nSuffix <= kMostSuffix; ++nSuffix)
        strPath.Format(L"%ls-%d.png", static_cast<const wchar_t*>(strStem), nSuffix);
    return strPath;
}

CString CGameScreenshot::Save(const RECT& rcScreen)
{
    const int cx = rcScreen.right - rcScreen.left;
    const int cy = rcScreen.bottom - rcScreen.top;
    std::vector<BYTE> pixels;
    if (cx <= 0 || cy <= 0 || !CaptureScreen(rcScreen, pixels))
        return CString();

    if (!::CreateDirectoryW(kFolder, nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return CString();
    const DWORD dwAttributes = ::GetFileAttributesW(kFolder);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return CString();

    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const CString strPath = FreeName(kFolder, now);
    // Written under a name of its own first: a picture that cannot be
    // written whole leaves nothing under the picture's name.
    CString strPart;
    strPart.Format(L"%ls.%lu.part", static_cast<const wchar_t*>(strPath), ::GetCurrentProcessId());
    const bool bWritten = WritePng(strPart, static_cast<UINT>(cx), static_cast<UINT>(cy), pixels);
    if (bWritten && ::MoveFileExW(strPart, strPath, MOVEFILE_WRITE_THROUGH))
        return strPath;
    ::DeleteFileW(strPart);
    return CString();
}
