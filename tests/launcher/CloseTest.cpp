// Closing the launcher asks first; No leaves everything as it was. (Yes ends
// the process: see the tests of the real executable.)

#include "harness/LauncherFixture.h"
#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{

// Answers the launcher's question from inside its message box's own loop.
struct QuestionAnswerer
{
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        const HWND hBox = ::FindWindowW(L"#32770", L"退出提示");
        if (!hBox || ::GetWindowThreadProcessId(hBox, nullptr) != ::GetCurrentThreadId())
            return;
        ++s_asked;
        const HWND hText = ::GetDlgItem(hBox, 0xFFFF);
        s_text = hText ? WindowText(hText) : L"";
        s_hasYes = ::GetDlgItem(hBox, IDYES) != nullptr;
        s_hasCancel = ::GetDlgItem(hBox, IDCANCEL) != nullptr;
        ::SendMessageW(::GetDlgItem(hBox, IDNO), BM_CLICK, 0, 0);
    }

    static int s_asked;
    static std::wstring s_text;
    static bool s_hasYes;
    static bool s_hasCancel;
};

int QuestionAnswerer::s_asked = 0;
std::wstring QuestionAnswerer::s_text;
bool QuestionAnswerer::s_hasYes = false;
bool QuestionAnswerer::s_hasCancel = false;

class CloseTest : public LauncherFixture
{
protected:
};

TEST_F(CloseTest, AsksBeforeQuittingAndNoKeepsTheWindow)
{
    Launcher().ChooseRow(5);
    const std::string settings = ReadFileBytes(m_dir.File(L"UserVar.ini"));
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &QuestionAnswerer::OnTimer);

    ::SendMessageW(Launcher().Hwnd(), WM_CLOSE, 0, 0);
    ::SendMessageW(Launcher().Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ::KillTimer(nullptr, timer);

    EXPECT_EQ(QuestionAnswerer::s_asked, 2);
    EXPECT_EQ(QuestionAnswerer::s_text, L"你真的想退出吗？");
    EXPECT_TRUE(QuestionAnswerer::s_hasYes);
    EXPECT_FALSE(QuestionAnswerer::s_hasCancel);
    EXPECT_TRUE(::IsWindowVisible(Launcher().Hwnd()));
    EXPECT_EQ(Launcher().CurrentRow(), 5);
    EXPECT_EQ(ReadFileBytes(m_dir.File(L"UserVar.ini")), settings) << "closing must not save";
}

// Asks to close again while the question is open, then answers No.
struct RepeatedCloser
{
    static BOOL CALLBACK CountQuestion(HWND hWnd, LPARAM lParam)
    {
        if (::IsWindowVisible(hWnd) && WindowText(hWnd) == L"退出提示")
            ++*reinterpret_cast<int*>(lParam);
        return TRUE;
    }

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        ++s_ticks;
        if (s_ticks == 1)
        {
            ::PostMessageW(s_hLauncher, WM_CLOSE, 0, 0);
            ::PostMessageW(s_hLauncher, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        else if (s_ticks >= 4)
        {
            int questions = 0;
            ::EnumThreadWindows(::GetCurrentThreadId(), CountQuestion, reinterpret_cast<LPARAM>(&questions));
            s_mostQuestions = std::max(s_mostQuestions, questions);
            if (const HWND hBox = ::FindWindowW(L"#32770", L"退出提示"))
                ::SendMessageW(::GetDlgItem(hBox, IDNO), BM_CLICK, 0, 0);
        }
    }

    static HWND s_hLauncher;
    static int s_ticks;
    static int s_mostQuestions;
};

HWND RepeatedCloser::s_hLauncher = nullptr;
int RepeatedCloser::s_ticks = 0;
int RepeatedCloser::s_mostQuestions = 0;

TEST_F(CloseTest, CloseRequestsWhileTheQuestionIsOpenAreDropped)
{
    RepeatedCloser::s_hLauncher = Launcher().Hwnd();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &RepeatedCloser::OnTimer);
    ::SendMessageW(Launcher().Hwnd(), WM_CLOSE, 0, 0);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(RepeatedCloser::s_mostQuestions, 1);
    EXPECT_TRUE(::IsWindowVisible(Launcher().Hwnd()));
}

} // namespace
