#pragma once

#include "launcher/features/Feature.h"

class CGameView;
class CPageZoom;

// "全屏" (F11, and F11 again to leave): the game alone on the monitor the
// launcher is on, without caption or strip, at the largest zoom step that
// fits, centred on black; fitted again when the screen changes. Leaving
// puts the window back where it was, with its zoom. Nothing of it is kept:
// a start is never full screen.
class CFullScreenFeature final : public CFeature
{
public:
    CFullScreenFeature(CFeatureHost& host, CPageZoom& zoom, CGameView& game);

    std::vector<CSystemMenu::Row> MenuRows() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The launcher ends as it was before (the window's place is saved then).
    void OnEnd() override { Leave(); }

private:
    void Enter();
    void Leave();
    // The window over its whole monitor, the game at the largest step that
    // fits it.
    void Fit();

    CPageZoom& m_zoom;
    CGameView& m_game;
    const UINT m_nCommand;
    // What leaving gives back.
    WINDOWPLACEMENT m_placement = {};
    LONG m_lStyle = 0;
    LONG m_lExStyle = 0;
    int m_nZoom = 0;
};
