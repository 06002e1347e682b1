#pragma once

#include "framework/CWinApp.h"
#include "launcher/OrlimWebDlg.h"

#include <initializer_list>
#include <string>

// The manual-entry row: the last, after the 78 platforms.
constexpr int kManualRow = 78;

// The launcher dialog, created in the test's own process and driven with
// real window messages. It is created modeless, as the application's main
// window, so that the test keeps the message loop (see MessagePump.h); its
// initialisation, messages and children are the program's own.
class LauncherWindow
{
public:
    // bMinimised: shown minimised at once, as a shortcut set to "Run:
    // Minimized" starts it (it paints nothing until restored).
    explicit LauncherWindow(bool bMinimised = false);
    ~LauncherWindow();
    LauncherWindow(const LauncherWindow&) = delete;
    LauncherWindow& operator=(const LauncherWindow&) = delete;

    COrlimWebDlg& Dialog() { return m_dlg; }
    HWND Hwnd() const { return m_dlg.m_hWnd; }
    HWND Item(int nID) const { return ::GetDlgItem(m_dlg.m_hWnd, nID); }
    HWND Pane() const;     // the browser pane
    HWND Explorer() const; // the browser control's window in the pane

    // What the player does.
    void ChooseRow(int nRow); // picks a row in the drop-down
    void ClickEnter();        // presses the enter button
    void ClickAutoFit();      // toggles the check box
    void TypeUrl(const std::wstring& text);

    // What the player sees.
    int CurrentRow() const;
    int RowCount() const;
    std::wstring RowText(int nRow) const;
    std::wstring UrlText() const;
    bool UrlEnabled() const;
    bool AutoFitChecked() const;

    // Runs one auto-fit tick, as the one-second timer does.
    void Tick();

    void Destroy();

private:
    CWinApp m_app;
    COrlimWebDlg m_dlg;
};

// A window of the Flash Player's class standing in for a game, as a child
// of hParent (the browser's window, or one of its children); painted in
// one colour unless that is CLR_INVALID.
HWND MakeFlashWindow(HWND hParent, int x, int y, int cx, int cy, COLORREF colour = CLR_INVALID);

// Posts a key press (down and up) to a window and handles it, as the
// program's message loop would.
void PressKey(HWND hWnd, WPARAM vk);
// Presses keys on the keyboard, as the player does: each down in turn, the
// last held for nRepeats more (as the keyboard repeats it), then each up
// from the last. They go to the window in front, to whatever has the
// keyboard there.
void TypeKeys(std::initializer_list<WORD> keys, int nRepeats = 0);

std::wstring WindowText(HWND hWnd);
std::wstring ClassName(HWND hWnd);
RECT WindowRect(HWND hWnd);
int Width(const RECT& rc);
int Height(const RECT& rc);
RECT ClientRect(HWND hWnd);
// A child's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hWnd);
// Whether the launcher's icon (id 1) is in the notification area: only an
// icon that is there can be changed.
bool IconShown(HWND hWnd);
// How many top-level windows of this thread are visible (a message box
// would be one more).
int VisibleThreadWindows();
