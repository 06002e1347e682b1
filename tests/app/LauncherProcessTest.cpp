// The real OrlimWeb.exe, run as a child process with the real WebBrowser
// control, its requests going to a recording proxy on loopback.

#include "harness/MenuItems.h"
#include "harness/ChildProcess.h"
#include "harness/LauncherFixture.h"
#include "harness/Pixels.h"
#include "harness/LauncherProcess.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/ProxySetting.h"
#include "harness/RecordingProxy.h"
#include "harness/TempDir.h"

#include "framework/UniqueHandle.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

const char kRowZeroRequest[] = "http://www.velka.cn:80/";
const COLORREF kStripBlue = RGB(0, 174, 255);

class LauncherProcessTest : public LauncherFixture
{
protected:
    LauncherProcessTest() : LauncherFixture(Setup().RealBrowser().StartLater()) {}

    std::wstring ComboText(HWND hCombo, int row)
    {
        wchar_t buffer[64] = {};
        ::SendMessageW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    HWND WaitForQuestion(LauncherProcess& launcher) { return launcher.WaitForOwnWindow(L"退出提示"); }
};

TEST_F(LauncherProcessTest, OpensCentredOnRowZeroAndLoadsItsPage)
{
    LauncherProcess launcher(m_dir.Path());
    const HWND hWnd = launcher.WaitForWindow();
    ASSERT_NE(hWnd, nullptr);

    const RECT rc = WindowRect(hWnd);
    EXPECT_EQ(rc.right - rc.left, 1148);
    EXPECT_EQ(rc.bottom - rc.top, 750);
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((rc.left + rc.right) / 2 - (work.left + work.right) / 2), 1);
    EXPECT_LE(std::abs((rc.top + rc.bottom) / 2 - (work.top + work.bottom) / 2), 1);

    const HWND hCombo = ::GetDlgItem(hWnd, IDC_PLATFORM_COMBO);
    EXPECT_EQ(::SendMessageW(hCombo, CB_GETCOUNT, 0, 0), 79);
    EXPECT_EQ(::SendMessageW(hCombo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(ComboText(hCombo, 0), L"Velka官网");
    EXPECT_EQ(ComboText(hCombo, 78), L"手动输入");
    EXPECT_EQ(WindowText(::GetDlgItem(hWnd, IDC_URL_EDIT)), L"http://www.velka.cn/");

    EXPECT_TRUE(WaitForRequest(kRowZeroRequest));
    // The first save waits for the window's first paint, which the request
    // may come before.
    const std::wstring file = m_dir.File(L"UserVar.ini");
    EXPECT_TRUE(PumpUntil([&] { return !ReadFileBytes(file).empty(); }, 5000));
    EXPECT_EQ(ReadFileBytes(file), "[section]\r\nServersSel=0\r\nUrl=http://www.velka.cn/\r\n");
}

TEST_F(LauncherProcessTest, StripIsBlueOnScreen)
{
    LauncherProcess launcher(m_dir.Path());
    const HWND hWnd = launcher.WaitForWindow();
    ASSERT_NE(hWnd, nullptr);
    COLORREF color = CLR_INVALID;
    const auto painted = [&] {
        color = ScreenPixel(hWnd, 8, 12);
        return color == kStripBlue;
    };
    EXPECT_TRUE(PumpUntil(painted, 5000)) << std::hex << color;
}

TEST_F(LauncherProcessTest, NoKeepsItRunningYesEndsItAtOnceWithExitCodeZero)
{
    LauncherProcess launcher(m_dir.Path());
    const HWND hWnd = launcher.WaitForWindow();
    ASSERT_NE(hWnd, nullptr);

    ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
    HWND hQuestion = WaitForQuestion(launcher);
    ASSERT_NE(hQuestion, nullptr);
    ::SendMessageW(::GetDlgItem(hQuestion, IDNO), BM_CLICK, 0, 0);
    PumpFor(300);
    EXPECT_TRUE(launcher.IsRunning());
    EXPECT_TRUE(::IsWindowVisible(hWnd));

    ::PostMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    hQuestion = WaitForQuestion(launcher);
    ASSERT_NE(hQuestion, nullptr);
    ::PostMessageW(::GetDlgItem(hQuestion, IDYES), BM_CLICK, 0, 0);
    EXPECT_EQ(launcher.WaitForExit(5000), 0u);
}

TEST_F(LauncherProcessTest, AChoiceWaitingForTheFileIsSavedByYesOnceTheOtherProgramLetsGo)
{
    LauncherProcess launcher(m_dir.Path());
    const HWND hWnd = launcher.WaitForWindow();
    ASSERT_NE(hWnd, nullptr);
    // A virus scanner holds the file from the choice until after the answer
    // (taken once the launcher's first save has let go of it).
    UniqueFileHandle hHeld;
    PumpUntil(
        [&] {
            hHeld.Reset(
                ::CreateFileW(m_dir.File(L"UserVar.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            return static_cast<bool>(hHeld);
        },
        5000);
    ASSERT_TRUE(hHeld);
    const HWND hCombo = ::GetDlgItem(hWnd, IDC_PLATFORM_COMBO);
    ::SendMessageW(hCombo, CB_SETCURSEL, 6, 0);
    ::SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDC_PLATFORM_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
    ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
    const HWND hQuestion = WaitForQuestion(launcher);
    ASSERT_NE(hQuestion, nullptr);
    ::PostMessageW(::GetDlgItem(hQuestion, IDYES), BM_CLICK, 0, 0);
    // Answered: the window has gone, and the launcher waits for the file.
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(hWnd); }, 5000));
    PumpFor(200);
    EXPECT_TRUE(launcher.IsRunning()) << "it did not wait for the file";
    hHeld.Reset();
    EXPECT_EQ(launcher.WaitForExit(5000), 0u);
    EXPECT_NE(ReadFileBytes(m_dir.File(L"UserVar.ini")).find("ServersSel=6\r\n"), std::string::npos);
}

TEST_F(LauncherProcessTest, EscapeDoesNotEndIt)
{
    LauncherProcess launcher(m_dir.Path());
    const HWND hWnd = launcher.WaitForWindow();
    ASSERT_NE(hWnd, nullptr);
    for (int id : {IDC_PLATFORM_COMBO, IDC_ENTER_BUTTON, IDC_AUTOFIT_CHECK})
        ::PostMessageW(::GetDlgItem(hWnd, id), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PumpFor(500);
    EXPECT_TRUE(launcher.IsRunning());
    EXPECT_TRUE(::IsWindowVisible(hWnd));
}

TEST_F(LauncherProcessTest, CommandLineArgumentsChangeNothing)
{
    LauncherProcess launcher(m_dir.Path(), L"--platform=5 http://127.0.0.1/other.html /x");
    const HWND hWnd = launcher.WaitForWindow();
    ASSERT_NE(hWnd, nullptr);
    EXPECT_TRUE(WaitForRequest(kRowZeroRequest));
    EXPECT_EQ(::SendMessageW(::GetDlgItem(hWnd, IDC_PLATFORM_COMBO), CB_GETCURSEL, 0, 0), 0);
    PumpFor(300);
    for (const std::string& url : m_proxy->RequestedUrls())
        EXPECT_EQ(url, kRowZeroRequest);
}

// A visible launcher window of another process than this one and dwNotThis.
HWND LauncherOfAnotherProcess(DWORD dwNotThis)
{
    return FindVisibleWindow([&](HWND hWnd, DWORD pid) {
        return pid != dwNotThis && pid != ::GetCurrentProcessId() && WindowText(hWnd) == L"Velka登陆器";
    });
}

TEST_F(LauncherProcessTest, AnotherAccountsLauncherKeepsItsOwnLoginsAndOpensBesideTheFirst)
{
    LauncherProcess first(m_dir.Path());
    const HWND hFirst = first.WaitForWindow();
    ASSERT_NE(hFirst, nullptr);
    ASSERT_TRUE(WaitForRequest(kRowZeroRequest));
    // The site logged the player in (a session cookie): the same launcher
    // sends it back.
    const HWND hEnter = ::GetDlgItem(hFirst, IDC_ENTER_BUTTON);
    ::PostMessageW(hFirst, WM_COMMAND, MAKEWPARAM(IDC_ENTER_BUTTON, BN_CLICKED), reinterpret_cast<LPARAM>(hEnter));
    ASSERT_TRUE(PumpUntil([&] { return m_proxy->RequestCookies().size() >= 2; }));
    EXPECT_EQ(m_proxy->RequestCookies()[1], "orlim-visit=1");

    const size_t before = m_proxy->RequestLines().size();
    ::PostMessageW(hFirst, WM_SYSCOMMAND, LauncherCommand(L"新开窗口"), 0);
    HWND hSecond = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (hSecond = LauncherOfAnotherProcess(first.ProcessId())) != nullptr; }, 15000));
    DWORD dwSecond = 0;
    ::GetWindowThreadProcessId(hSecond, &dwSecond);
    const UniqueKernelHandle hProcess(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwSecond));
    ASSERT_TRUE(PumpUntil([&] { return m_proxy->RequestLines().size() > before; }));
    EXPECT_EQ(m_proxy->RequestLines()[before], "GET http://www.velka.cn:80/ HTTP/1.1");
    EXPECT_EQ(m_proxy->RequestCookies()[before], "") << "the first account's login stays its own";

    // Beside the first, by a caption's height; two more chosen at once,
    // each beside the one before.
    ::PostMessageW(hFirst, WM_SYSCOMMAND, LauncherCommand(L"新开窗口"), 0);
    ::PostMessageW(hFirst, WM_SYSCOMMAND, LauncherCommand(L"新开窗口"), 0);
    std::vector<POINT> corners;
    ASSERT_TRUE(PumpUntil(
        [&] {
            corners.clear();
            FindVisibleWindow([&](HWND hWnd, DWORD pid) {
                if (pid != first.ProcessId() && pid != ::GetCurrentProcessId() && WindowText(hWnd) == L"Velka登陆器")
                    corners.push_back({WindowRect(hWnd).left, WindowRect(hWnd).top});
                return false;
            });
            return corners.size() == 3;
        },
        20000));
    const int offset = ::GetSystemMetrics(SM_CYCAPTION);
    std::sort(corners.begin(), corners.end(), [](const POINT& a, const POINT& b) { return a.x < b.x; });
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(corners[i].x, WindowRect(hFirst).left + (i + 1) * offset) << i;
        EXPECT_EQ(corners[i].y, WindowRect(hFirst).top + (i + 1) * offset) << i;
    }
    ::TerminateProcess(hProcess.Get(), 0);
    ::WaitForSingleObject(hProcess.Get(), 5000);
}

TEST_F(LauncherProcessTest, WritesNothingToTheRegistry)
{
    const wchar_t kKey[] = L"Software\\应用程序向导生成的本地应用程序";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    {
        LauncherProcess launcher(m_dir.Path());
        const HWND hWnd = launcher.WaitForWindow();
        ASSERT_NE(hWnd, nullptr);
        ::SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDC_ENTER_BUTTON, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hWnd, IDC_ENTER_BUTTON)));
        ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
        const HWND hQuestion = WaitForQuestion(launcher);
        ASSERT_NE(hQuestion, nullptr);
        ::PostMessageW(::GetDlgItem(hQuestion, IDYES), BM_CLICK, 0, 0);
        ASSERT_EQ(launcher.WaitForExit(5000), 0u);
    }
    UniqueRegKey key;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key.Put()), ERROR_SUCCESS);
}

} // namespace
