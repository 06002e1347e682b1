#pragma once

#include "launcher/features/GameView.h"

#include <vector>

class CDlgWeb;
class CPageZoom;
class CWnd;

// The game as the launcher shows it: the Flash Player's window inside the
// pane's browser control, known by its class and a width of a game at
// least (at the page's zoom, as large as the screen shows it).
class CPaneGame final : public CGameView
{
public:
    // launcher: the launcher's window, whose client area the game shows in.
    CPaneGame(const CWnd& launcher, const CDlgWeb& pane, const CPageZoom& zoom) noexcept
        : m_launcher(launcher), m_pane(pane), m_zoom(zoom)
    {
    }

    // The browser moved so that the game hWndFlash starts at the pane's
    // origin, and sized to a game area 1100 pixels wide (at 100 %; a zoom of
    // nZoom percent on the screen scales the game and these numbers) and
    // nGameHeight high below the game's offset in the page: that size.
    SIZE MoveBrowserToGame(HWND hWndFlash, int nZoom, int nGameHeight) const;
    // While the game is alone: laid out again, as the page or the screen
    // may have moved it.
    void LayOutAlone() const;

    // CGameView
    HWND FindGame() const override;
    RECT GameArea() const override;
    void FocusGame() override;
    void ShowAlone(bool bAlone) override;
    bool IsAlone() const override { return m_bAlone; }

private:
    const CWnd& m_launcher;
    const CDlgWeb& m_pane;
    const CPageZoom& m_zoom;
    bool m_bAlone = false;
    std::vector<HWND> m_hidden; // the strip's windows, hidden while the game is alone
};
