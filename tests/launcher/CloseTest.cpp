// Closing the launcher asks first; No leaves everything as it was. (Yes ends
// the process: see the tests of the real executable.)

#include "support/FakeWebBrowser.h"
#include "support/LauncherWindow.h"
#include "support/MessagePump.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

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

class CloseTest : public ::testing::Test
{
protected:
    TempDir m_dir;
    FakeWebBrowserClass m_browser;
    LauncherWindow m_launcher;
};

TEST_F(CloseTest, AsksBeforeQuittingAndNoKeepsTheWindow)
{
    m_launcher.ChooseRow(5);
    const std::string settings = ReadFileBytes(m_dir.File(L"UserVar.ini"));
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &QuestionAnswerer::OnTimer);

    ::SendMessageW(m_launcher.Hwnd(), WM_CLOSE, 0, 0);
    ::SendMessageW(m_launcher.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ::KillTimer(nullptr, timer);

    EXPECT_EQ(QuestionAnswerer::s_asked, 2);
    EXPECT_EQ(QuestionAnswerer::s_text, L"你真的想退出吗？");
    EXPECT_TRUE(QuestionAnswerer::s_hasYes);
    EXPECT_FALSE(QuestionAnswerer::s_hasCancel);
    EXPECT_TRUE(::IsWindowVisible(m_launcher.Hwnd()));
    EXPECT_EQ(m_launcher.CurrentRow(), 5);
    EXPECT_EQ(ReadFileBytes(m_dir.File(L"UserVar.ini")), settings) << "closing must not save";
}

} // namespace
