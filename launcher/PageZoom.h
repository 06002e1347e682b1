#pragma once

#include <windows.h>

// The page zoom the player chose in the system menu: one of the fixed
// steps, or the automatic zoom, which is chosen for each game found (the
// largest step at which the fitted launcher fits its screen).
class CPageZoom
{
public:
    static const int kAuto = 0;

    struct Step
    {
        UINT nID;           // its system-menu command
        int nOption;        // the percent, or kAuto
        const wchar_t* lpszText;
    };
    // The menu's items, in its order: the fixed steps, largest first, then
    // the automatic zoom.
    static const Step kSteps[7];

    // The step of a menu command, or null.
    static const Step* FindStep(UINT nID) noexcept;
    // Whether a number is one of the steps' options (for the settings file).
    static bool IsOption(int nOption) noexcept;

    int Option() const noexcept { return m_nOption; }
    bool IsAuto() const noexcept { return m_nOption == kAuto; }
    // A new choice; an automatic zoom is then chosen again for the game.
    void Choose(int nOption) noexcept;

    // Whether the automatic zoom is still to be chosen for this game.
    bool IsToChooseFor(HWND hWndGame) const noexcept { return IsAuto() && hWndGame != m_hWndChosenFor; }
    void ChosenFor(HWND hWndGame) noexcept { m_hWndChosenFor = hWndGame; }

private:
    int m_nOption = 100;
    HWND m_hWndChosenFor = nullptr; // the game the automatic zoom was chosen for
};
