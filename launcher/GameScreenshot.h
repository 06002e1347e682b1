#pragma once

#include "framework/CString.h"

#include <windows.h>

// Screenshots of the game: what the screen shows in a rectangle, saved as a
// PNG file in the folder "截图" of the current directory (beside the
// settings file), named after the local time.
class CGameScreenshot
{
public:
    // Saves the picture; the file's path, or empty when it could not be
    // saved (then no file, not even part of one, is left behind).
    static CString Save(const RECT& rcScreen);
    // The name for a picture taken at a time: Orlim-YYYYMMDD-HHMMSS.png,
    // with "-2", "-3"... when that name is taken in the folder.
    static CString FreeName(const CString& strFolder, const SYSTEMTIME& time);
};
