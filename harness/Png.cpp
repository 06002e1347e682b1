#include "Png.h"

#include "framework/ComPtr.h"

#include <wincodec.h>

CPicture ReadPng(const std::wstring& path)
{
    ComPtr<IWICImagingFactory> pFactory;
    ComPtr<IWICBitmapDecoder> pDecoder;
    ComPtr<IWICBitmapFrameDecode> pFrame;
    ComPtr<IWICFormatConverter> pConverter;
    CPicture picture;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  pFactory.PutVoid())) ||
        FAILED(pFactory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnLoad,
                                                   pDecoder.Put())) ||
        FAILED(pDecoder->GetFrame(0, pFrame.Put())) || FAILED(pFrame->GetSize(&picture.cx, &picture.cy)) ||
        FAILED(pFactory->CreateFormatConverter(pConverter.Put())) ||
        FAILED(pConverter->Initialize(pFrame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                      WICBitmapPaletteTypeCustom)))
        return CPicture();
    picture.bits.resize(size_t(picture.cx) * picture.cy * 4);
    if (FAILED(pConverter->CopyPixels(nullptr, picture.cx * 4, static_cast<UINT>(picture.bits.size()),
                                      picture.bits.data())))
        return CPicture();
    return picture;
}

COLORREF PixelAt(const CPicture& picture, UINT x, UINT y)
{
    const BYTE* p = &picture.bits[(size_t(y) * picture.cx + x) * 4];
    return RGB(p[2], p[1], p[0]);
}
