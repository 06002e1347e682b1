#pragma once

#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/ProxySetting.h"
#include "harness/RecordingProxy.h"
#include "harness/ScreenOfSize.h"
#include "harness/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

// What the launcher tests start from: a fresh folder as the current
// directory, a browser control, and the launcher in it.
class LauncherFixture : public ::testing::Test
{
protected:
    // What the test's launcher starts with: by default at once, in a fresh
    // folder, with the fake browser control.
    struct Setup
    {
        bool bStart = true;
        FakeBrowserFailure failure = FakeBrowserFailure::None;
        bool bRealBrowser = false;
        SIZE screen = {};

        // The test prepares the folder first and calls Start itself.
        Setup& StartLater()
        {
            bStart = false;
            return *this;
        }
        // The fake control fails this way.
        Setup& Failing(FakeBrowserFailure how)
        {
            failure = how;
            return *this;
        }
        // The real browser control, its requests going to a recording proxy.
        Setup& RealBrowser()
        {
            bRealBrowser = true;
            return *this;
        }
        // A screen of this size for the test's windows (see ScreenOfSize).
        Setup& OnScreen(int cx, int cy)
        {
            screen = {cx, cy};
            return *this;
        }
    };

    LauncherFixture();
    explicit LauncherFixture(const Setup& setup);

    // Starts the launcher, or starts it again (the old one is destroyed).
    LauncherWindow& Start();
    LauncherWindow& Launcher() { return *m_launcher; }
    HWND Hwnd() const { return m_launcher->Hwnd(); }

    // The settings file, its path and its bytes.
    std::wstring IniPath() const { return m_dir.File(L"UserVar.ini"); }
    std::string Ini() const { return ReadFileBytes(IniPath()); }
    void WriteIni(const std::string& bytes) const { WriteFileBytes(IniPath(), bytes); }

    FakeWebBrowserClass& Browser() { return *m_fake; }
    // With the real browser: whether it asked the proxy for this address in
    // time.
    bool WaitForRequest(const std::string& url, DWORD timeoutMs = 10000) const;

    // The system menu, its items known by their text (see MenuItems.h): a
    // command as the player chooses it, an item's state (MF_CHECKED,
    // MF_GRAYED) and whole text.
    void Command(const std::wstring& text);
    UINT MenuState(const std::wstring& text) const;
    std::wstring MenuText(const std::wstring& text) const;
    // What the launcher does when the player opens the system menu.
    void OpenMenu();

    std::optional<ScreenOfSize> m_screen;
    TempDir m_dir;
    std::optional<RecordingProxy> m_proxy;
    std::optional<ProxySetting> m_setting;
    std::optional<FakeWebBrowserClass> m_fake;
    std::unique_ptr<LauncherWindow> m_launcher;
};
