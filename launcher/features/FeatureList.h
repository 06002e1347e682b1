#pragma once

#include "launcher/features/Feature.h"
#include "launcher/features/SystemMenu.h"
#include "launcher/features/WindowKeys.h"
#include "framework/CString.h"

#include <windows.h>

#include <vector>

// The features a window hosts, run as Feature.h says: their life cycle, their
// rows in the window's system menu, the window's messages offered to them,
// and the ids they are handed. It knows nothing but CFeature: the launcher's
// host and the tests' host both run their features through it.
class CFeatureList
{
public:
    // Timers handed out count up from nFirstTimer (the window's own stay
    // below it).
    explicit CFeatureList(UINT_PTR nFirstTimer) noexcept;
    CFeatureList(const CFeatureList&) = delete;
    CFeatureList& operator=(const CFeatureList&) = delete;

    // A feature, after those added before it: in this order they run and
    // their rows stand. The list does not own it.
    void Add(CFeature& feature);

    // Ids, each handed out once: a command of the system menu (a multiple of
    // 16 below the system's own, 0xF000), a timer, a message (from WM_APP + 1
    // below the registered ones, 0xC000), a hot key (from 1 below the shared
    // libraries', 0xC000). None is left: 0.
    UINT NewCommand() noexcept;
    UINT_PTR NewTimer() noexcept;
    UINT NewMessage() noexcept;
    int NewHotKey() noexcept;

    // The window's start, in four steps; the rows go into hWnd's system
    // menu at the second, and from then on their keys carry them out while
    // the window is in front (see CWindowKeys), as if the player had chosen
    // them in the menu.
    void BeforeBrowser();
    void Start(HWND hWnd);
    void Placed();
    void Shown();
    // The settings, held at start, have been read.
    void OptionsRead();
    // A message to the window: true when it is done (see Feature.h).
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The window ends; the features' OnEnd runs once, whatever asks again.
    void End();
    // For the notice line: what is wrong, in the features' order.
    std::vector<CString> Notices() const;
    // The features' rows, as they stand in the system menu.
    const std::vector<CSystemMenu::Row>& MenuRows() const noexcept { return m_menu.Rows(); }

    // Whether a message concerns every feature.
    static bool IsForEveryFeature(UINT message) noexcept;

private:
    // What the rows show is asked anew of every feature.
    void MenuOpening();
    // A row's key was pressed.
    void OnKey(UINT nID);

    std::vector<CFeature*> m_features;
    CSystemMenu m_menu;
    CWindowKeys m_keys;
    UINT m_nNextCommand = 0x0010;
    UINT_PTR m_nNextTimer;
    UINT m_nNextMessage = WM_APP + 1;
    int m_nNextHotKey = 1;
    UINT m_nKeyMessage = 0; // a row's key was pressed (wParam: its command)
    bool m_bEnded = false;
};
