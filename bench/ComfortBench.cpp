// How long the window's thread is held by what the player does that touches
// files: a platform choice with the settings file as it usually is, and
// while another program holds it; "清除缓存并刷新" with 9, 5,009 and 20,009
// entries in the browser's cache (the command, and until the page is loaded
// anew). The cache is the prefix's own; what this adds, it removes.
//   comfort_bench.exe

#include "bench/Timing.h"
#include "harness/MenuItems.h"
#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include "framework/UniqueHandle.h"
#include "launcher/services/SiteCache.h"
#include "res/resource.h"

#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{

// Median time of a platform choice, in milliseconds.
double ChoiceMs(LauncherWindow& launcher)
{
    std::vector<double> times;
    for (int i = 0; i < 21; ++i)
    {
        const double t = NowMs();
        launcher.ChooseRow(1 + i % 2);
        times.push_back(NowMs() - t);
    }
    return Median(times);
}

bool Cache(const std::wstring& url)
{
    wchar_t file[MAX_PATH] = {};
    if (!::CreateUrlCacheEntryW(url.c_str(), 0, L"js", file, 0))
        return false;
    const FILETIME never = {};
    return ::CommitUrlCacheEntryW(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr) !=
           FALSE;
}

} // namespace

int main()
{
    TempDir dir;
    FakeWebBrowserClass browser;
    LauncherWindow launcher;
    ::KillTimer(launcher.Hwnd(), 0);

    std::printf("choice_ms %.1f\n", ChoiceMs(launcher));
    {
        const UniqueFileHandle hHeld(
            ::CreateFileW(dir.File(L"UserVar.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        std::printf("choice_held_ms %.1f\n", ChoiceMs(launcher));
    }
    PumpFor(1500); // what waited lands

    // The pane shows row 0; nine entries are its site's, the rest others'.
    launcher.ChooseRow(0);
    std::vector<std::wstring> others;
    for (int total : {9, 5009, 20009})
    {
        while (static_cast<int>(others.size()) < total - 9)
        {
            others.push_back(L"http://o" + std::to_wstring(others.size() % 97) + L".other.test/f" +
                             std::to_wstring(others.size()) + L".js");
            Cache(others.back());
        }
        // What the window's thread was held for when it walked the cache itself.
        double t = NowMs();
        CSiteCache(L"http://www.velka.cn/").Remove();
        std::printf("clear_cache_%d_walk_ms %.1f\n", total, NowMs() - t);
        for (int i = 0; i < 9; ++i)
            Cache(L"http://www.velka.cn/r" + std::to_wstring(i) + L".js");
        const int before = browser.Record().completeRefreshes;
        t = NowMs();
        ::SendMessageW(launcher.Hwnd(), WM_SYSCOMMAND, MenuCommand(launcher.Hwnd(), L"清除缓存并刷新"), 0);
        const double command = NowMs() - t;
        PumpUntil([&] { return browser.Record().completeRefreshes > before; }, 60000);
        std::printf("clear_cache_%d_command_ms %.1f\nclear_cache_%d_done_ms %.1f\n", total, command, total,
                    NowMs() - t);
    }
    for (const std::wstring& url : others)
        ::DeleteUrlCacheEntryW(url.c_str());
    return 0;
}
