#pragma once

#include "launcher/features/GameView.h"

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

    // CGameView
    HWND FindGame() const override;
    RECT GameArea() const override;
    void FocusGame() override;

private:
    const CWnd& m_launcher;
    const CDlgWeb& m_pane;
    const CPageZoom& m_zoom;
};
