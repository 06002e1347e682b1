// Enter and Escape never act on the launcher or reach its controls; every
// other key does. Keys are posted and run through the same pre-translation
// as in the program's message loop.

#include "harness/LauncherFixture.h"
#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

// Records the keys that reach one window.
class KeyRecorder
{
public:
    explicit KeyRecorder(HWND hWnd) : m_hWnd(hWnd)
    {
        s_instance = this;
        m_pfnOld = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeyRecorder::Proc)));
    }
    ~KeyRecorder()
    {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOld));
        s_instance = nullptr;
    }
    KeyRecorder(const KeyRecorder&) = delete;
    KeyRecorder& operator=(const KeyRecorder&) = delete;

    std::vector<WPARAM> keyDowns;
    std::vector<WPARAM> chars;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_KEYDOWN)
            s_instance->keyDowns.push_back(wParam);
        else if (message == WM_CHAR)
            s_instance->chars.push_back(wParam);
        return ::CallWindowProcW(s_instance->m_pfnOld, hWnd, message, wParam, lParam);
    }

    static KeyRecorder* s_instance;
    HWND m_hWnd;
    WNDPROC m_pfnOld;
};

KeyRecorder* KeyRecorder::s_instance = nullptr;

class KeyFilterTest : public LauncherFixture
{
protected:
};

TEST_F(KeyFilterTest, EscapeDoesNotCloseOrHideTheLauncher)
{
    for (int id : {IDC_PLATFORM_COMBO, IDC_ENTER_BUTTON, IDC_AUTOFIT_CHECK})
        PressKey(Launcher().Item(id), VK_ESCAPE);
    PressKey(Launcher().Hwnd(), VK_ESCAPE);
    EXPECT_TRUE(::IsWindowVisible(Launcher().Hwnd()));
    EXPECT_TRUE(::IsWindowVisible(Launcher().Pane()));
}

TEST_F(KeyFilterTest, EnterAndEscapeNeverReachTheAddressBoxOtherKeysDo)
{
    Launcher().ChooseRow(78);
    Launcher().TypeUrl(L"");
    const HWND hEdit = Launcher().Item(IDC_URL_EDIT);
    ::SetFocus(hEdit);
    const size_t navigations = Browser().Record().navigations.size();
    KeyRecorder recorder(hEdit);

    PressKey(hEdit, VK_RETURN);
    PressKey(hEdit, VK_ESCAPE);
    PressKey(hEdit, 'A');
    PressKey(hEdit, VK_BACK);
    PressKey(hEdit, 'B');

    EXPECT_EQ(recorder.keyDowns, (std::vector<WPARAM>{'A', VK_BACK, 'B'}));
    EXPECT_EQ(Launcher().UrlText(), L"b");
    EXPECT_EQ(Browser().Record().navigations.size(), navigations) << "Enter opened an address";
    EXPECT_TRUE(::IsWindowVisible(Launcher().Hwnd()));
}

TEST_F(KeyFilterTest, TabStillMovesBetweenTheStripControls)
{
    ::SetFocus(Launcher().Item(IDC_PLATFORM_COMBO));
    PressKey(Launcher().Item(IDC_PLATFORM_COMBO), VK_TAB);
    EXPECT_EQ(::GetFocus(), Launcher().Item(IDC_ENTER_BUTTON));
}

} // namespace
