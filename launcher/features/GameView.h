#pragma once

#include <windows.h>

// What the launcher shows of the game, for the features that look at it.
class CGameView
{
public:
    // The game's window; null while none shows.
    virtual HWND FindGame() const = 0;
    // What the launcher shows of the game on the screen, or all the pane
    // shows while there is none.
    virtual RECT GameArea() const = 0;
    // The keyboard goes to the game (or to the page, while no game shows).
    virtual void FocusGame() = 0;
    // The game alone over the launcher's whole client area, centred on
    // black, the strip and the rest of the page hidden (the launcher's own
    // layout and fit stand aside), laid out anew when it is already; false:
    // back as it was.
    virtual void ShowAlone(bool bAlone) = 0;
    virtual bool IsAlone() const = 0;

protected:
    ~CGameView() = default;
};
