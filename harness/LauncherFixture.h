#pragma once

#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// What most launcher tests start from: a fresh folder as the current
// directory, the fake browser control, and the launcher in it.
class LauncherFixture : public ::testing::Test
{
protected:
    // Starts the launcher now, unless the test prepares the folder first
    // and calls Start itself.
    explicit LauncherFixture(bool bStart = true);

    // Starts the launcher, or starts it again (the old one is destroyed).
    LauncherWindow& Start();
    LauncherWindow& Launcher() { return *m_launcher; }
    HWND Hwnd() const { return m_launcher->Hwnd(); }
    std::wstring IniPath() const { return m_dir.File(L"UserVar.ini"); }

    // The system menu: a command as the player chooses it, an item's state
    // (MF_CHECKED, MF_GRAYED) and text.
    void Command(UINT nID);
    UINT MenuState(UINT nID) const;
    std::wstring MenuText(UINT nID) const;
    // What the launcher does when the player opens the system menu.
    void OpenMenu();

    TempDir m_dir;
    FakeWebBrowserClass m_browser;
    std::unique_ptr<LauncherWindow> m_launcher;
};
