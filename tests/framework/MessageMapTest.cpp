// Message maps: the most derived entry wins, the base's entries serve what
// the derived class does not handle, notifications are told apart by
// control id and code, and anything unhandled reaches the window's own
// procedure.

#include "framework/CDC.h"
#include "framework/CWnd.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace
{

std::vector<std::string> g_calls;

LRESULT CALLBACK PlainWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER + 1)
    {
        g_calls.emplace_back("window procedure");
        return 42;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND CreatePlainWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PlainWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MessageMapTestWindow";
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

class CBaseWnd : public CWnd
{
protected:
    afx_msg void OnTimer(UINT_PTR) { g_calls.emplace_back("base timer"); }
    afx_msg void OnClose() { g_calls.emplace_back("base close"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_WM_TIMER()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd
{
protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        g_calls.push_back("derived timer " + std::to_string(nIDEvent));
        CBaseWnd::OnTimer(nIDEvent);
    }
    afx_msg void OnClicked7() { g_calls.emplace_back("clicked 7"); }
    afx_msg void OnSelChange7() { g_calls.emplace_back("selchange 7"); }
    afx_msg LRESULT OnNcHitTest(CPoint point)
    {
        g_calls.push_back("hit " + std::to_string(point.x) + "," + std::to_string(point.y));
        return HTCAPTION;
    }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor)
    {
        g_calls.push_back("color " + std::to_string(nCtlColor));
        return reinterpret_cast<HBRUSH>(pDC->m_hDC);
    }
    afx_msg LRESULT OnFail(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    afx_msg LRESULT OnPassOn(WPARAM, LPARAM) { return Default(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_WM_TIMER()
    ON_BN_CLICKED(7, OnClicked7)
    ON_CBN_SELCHANGE(7, OnSelChange7)
    ON_WM_NCHITTEST()
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_USER, OnFail)
    ON_MESSAGE(WM_USER + 1, OnPassOn)
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test
{
protected:
    MessageMapTest()
    {
        g_calls.clear();
        m_wnd.SubclassWindow(CreatePlainWindow());
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(m_wnd.m_hWnd, message, wParam, lParam);
    }

    CDerivedWnd m_wnd;
};

TEST_F(MessageMapTest, DerivedEntriesWinAndBaseEntriesServeTheRest)
{
    Send(WM_TIMER, 3);
    Send(WM_CLOSE);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"derived timer 3", "base timer", "base close"}));
    EXPECT_TRUE(::IsWindow(m_wnd.m_hWnd)) << "the handler replaced the default close";
}

TEST_F(MessageMapTest, NotificationsAreMatchedByControlAndCode)
{
    Send(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED));
    Send(WM_COMMAND, MAKEWPARAM(7, CBN_SELCHANGE));
    Send(WM_COMMAND, MAKEWPARAM(8, BN_CLICKED));
    Send(WM_COMMAND, MAKEWPARAM(7, CBN_DROPDOWN));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"clicked 7", "selchange 7"}));
}

TEST_F(MessageMapTest, HandlersGetTheirParametersUnpacked)
{
    EXPECT_EQ(Send(WM_NCHITTEST, 0, MAKELPARAM(-5, 300)), HTCAPTION);
    const HDC hdc = reinterpret_cast<HDC>(0x1234);
    EXPECT_EQ(Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), 0), reinterpret_cast<LRESULT>(hdc));
    Send(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc), 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"hit -5,300", "color " + std::to_string(CTLCOLOR_STATIC),
                                                 "color " + std::to_string(CTLCOLOR_EDIT)}));
}

TEST_F(MessageMapTest, DefaultAndUnhandledMessagesReachTheWindowsOwnProcedure)
{
    EXPECT_EQ(Send(WM_USER + 1), 42);
    ::SetWindowTextW(m_wnd.m_hWnd, L"title");
    wchar_t text[16] = {};
    ::GetWindowTextW(m_wnd.m_hWnd, text, 16);
    EXPECT_EQ(std::wstring(text), L"title");
    EXPECT_EQ(g_calls, (std::vector<std::string>{"window procedure"}));
}

TEST_F(MessageMapTest, FailingHandlerEndsQuietlyAndTheWindowGoesOn)
{
    EXPECT_EQ(Send(WM_USER), 0);
    Send(WM_TIMER, 1);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"derived timer 1", "base timer"}));
}

TEST_F(MessageMapTest, DestroyingTheWindowFreesTheObject)
{
    const HWND hWnd = m_wnd.m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &m_wnd);
    ::DestroyWindow(hWnd);
    EXPECT_EQ(m_wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

} // namespace
