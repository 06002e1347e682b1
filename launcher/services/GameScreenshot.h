#pragma once

#include "framework/CString.h"
#include "framework/ComPtr.h"

#include <windows.h>
#include <wincodec.h>

#include <vector>

// A picture in memory: 32 bits a pixel (blue, green, red and a byte that
// means nothing), rows top first.
struct CPicture
{
    UINT cx = 0;
    UINT cy = 0;
    std::vector<BYTE> bits;
};

// Screenshots of the game, saved as PNG files in a folder of their own
// (beside the settings file), named after the local time.
class CGameScreenshot
{
public:
    explicit CGameScreenshot(const CString& strFolder);
    virtual ~CGameScreenshot();
    CGameScreenshot(const CGameScreenshot&) = delete;
    CGameScreenshot& operator=(const CGameScreenshot&) = delete;

    // A picture is taken in two steps, with the message loop running in
    // between so that the system can show what was painted. First the
    // launcher is made ready: where the picture is read from the screen, it
    // is raised above every other window and its pending painting is done.
    // False for a minimised or hidden launcher: there is nothing to take.
    bool Prepare(HWND hWndLauncher);
    bool IsPrepared() const noexcept { return m_hWndPrepared != nullptr; }
    // Then what the launcher shows in rcScreen (screen coordinates, as the
    // launcher sees them) is taken and saved, and the launcher goes back to
    // its place among the windows. The file's path, or empty.
    CString Take(const RECT& rcScreen);
    // Saves a picture: the file's path, or empty when it could not be saved
    // (then no file, not even part of one, is left behind).
    CString Save(const CPicture& picture);

    const CString& Folder() const noexcept { return m_strFolder; }
    bool FolderExists() const;
    // Shows the folder in Explorer.
    void OpenFolder(HWND hWndOwner) const;

    // The name for a picture taken at a time: Orlim-YYYYMMDD-HHMMSS.png,
    // with "-2", "-3"... when that name is taken in the folder.
    static CString FreeName(const CString& strFolder, const SYSTEMTIME& time);

    // A window's own content in rcScreen, whatever lies over it: what the
    // window draws when asked to print itself whole (Windows 8.1 and later
    // draw every window so, the browser's and the Flash Player's included).
    static bool CaptureWindowContent(HWND hWnd, const RECT& rcScreen, CPicture& picture);
    // Maps a point of hWnd from the coordinates the launcher sees to the
    // screen's pixels (the system's own mapping, unless a test stands in).
    using ToPhysicalFn = BOOL(WINAPI*)(HWND, LPPOINT);
    static BOOL WINAPI LogicalToPhysical(HWND hWnd, LPPOINT lpPoint);
    // What the screen shows in rcScreen.
    static bool CaptureFromScreen(HWND hWnd, const RECT& rcScreen, CPicture& picture,
                                  ToPhysicalFn pfnToPhysical = LogicalToPhysical);

protected:
    // The PNG encoder; a test gives one that answers as another system's does.
    virtual ComPtr<IWICBitmapEncoder> CreatePngEncoder(IWICImagingFactory* pFactory);
    // Whether the system draws a window's whole content when asked to print
    // it (Windows 8.1 and later): then nothing need be raised.
    virtual bool PrintsWholeWindows() const;

private:
    bool WritePng(const wchar_t* lpszPath, const CPicture& picture);
    // Puts the prepared launcher back where it was among the windows.
    void Restore();

    CString m_strFolder;
    HWND m_hWndPrepared = nullptr;
    bool m_bRaised = false;
    HWND m_hWndAbove = nullptr; // the window that was right above the raised launcher
    bool m_bWasTopMost = false;
};
