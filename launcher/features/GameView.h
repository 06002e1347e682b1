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

protected:
    ~CGameView() = default;
};
