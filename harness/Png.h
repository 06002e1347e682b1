#pragma once

#include "launcher/services/GameScreenshot.h"

#include <string>

// A PNG file decoded to 32-bit BGR pixels, rows top first (empty when it
// cannot be read).
CPicture ReadPng(const std::wstring& path);
// A pixel of a picture.
COLORREF PixelAt(const CPicture& picture, UINT x, UINT y);
