#pragma once

#include "browser/ZoomablePage.h"

#include <windows.h>

// The page zoom, all of it in one place: the player's choice in the system
// menu (one of the fixed steps, or the automatic zoom, which is chosen for
// each game found: the largest step at which the fitted launcher fits its
// screen), the percent asked of the page, and the zoom the page has, which
// is not always the one asked for: after a refresh (which completes no
// page) and after the player's Ctrl+wheel.
class CPageZoom final : private CZoomablePage::Listener
{
public:
    static const int kAuto = 0;

    struct Step
    {
        int nOption; // the percent, or kAuto
        const wchar_t* lpszText;
    };
    // The menu's items, in its order: the fixed steps, largest first, then
    // the automatic zoom.
    static const Step kSteps[7];

    // Whether a number is one of the steps' options (for the settings file).
    static bool IsOption(int nOption) noexcept;

    explicit CPageZoom(CZoomablePage& page) noexcept;
    ~CPageZoom();
    CPageZoom(const CPageZoom&) = delete;
    CPageZoom& operator=(const CPageZoom&) = delete;

    int Option() const noexcept { return m_nOption; }
    bool IsAuto() const noexcept { return m_nOption == kAuto; }
    // A new choice: a fixed step is asked of the page at once; the
    // automatic zoom is chosen again for the game.
    void Choose(int nOption);
    // Asks the page for a percent, from the page that completes next on;
    // false when that one was asked already.
    bool Ask(int nPercent);
    // Reads the page's zoom back; after a refresh, the percent asked for is
    // asked again. A page that does not say keeps the one asked for.
    int Read();
    // The page's zoom as last read (or asked for), and how large that shows
    // it on the screen (see CZoomablePage::OnScreen): what the fit sizes by.
    int Shown() const noexcept { return m_nShown; }
    int ShownOnScreen() const { return m_page.OnScreen(m_nShown); }
    int OnScreen(int nPercent) const { return m_page.OnScreen(nPercent); }

    // Whether the automatic zoom is still to be chosen for this game.
    bool IsToChooseFor(HWND hWndGame) const noexcept { return IsAuto() && hWndGame != m_hWndChosenFor; }
    void ChosenFor(HWND hWndGame) noexcept { m_hWndChosenFor = hWndGame; }

private:
    void OnPageEvent(CZoomablePage::Event event) override;

    CZoomablePage& m_page;
    int m_nOption = 100;
    int m_nAsked = 100;
    int m_nShown = 100;
    int m_nRefreshWatch = 0;        // reads left in which a refresh may still undo the zoom
    HWND m_hWndChosenFor = nullptr; // the game the automatic zoom was chosen for
};
