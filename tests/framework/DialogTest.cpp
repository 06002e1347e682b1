// Dialogs: initial data, the modal run and its result, pre-translation
// order, centring, and ActiveX items of templates.

#include "test_resource.h"

#include "harness/FakeWebBrowser.h"
#include "harness/MessagePump.h"

#include "framework/CDataExchange.h"
#include "framework/CDialog.h"
#include "framework/COleControlContainer.h"
#include "framework/COleControlSite.h"
#include "framework/CWinApp.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <string>
#include <vector>

namespace
{

std::vector<std::wstring> ComboItems(HWND hCombo)
{
    std::vector<std::wstring> items;
    const int n = static_cast<int>(::SendMessageW(hCombo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
    {
        wchar_t text[64] = {};
        ::SendMessageW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

// Runs code inside a modal loop once it is idle.
class InsideLoop
{
public:
    explicit InsideLoop(void (*pfn)())
    {
        s_pfn = pfn;
        m_timer = ::SetTimer(nullptr, 0, 10, OnTimer);
    }
    ~InsideLoop() { ::KillTimer(nullptr, m_timer); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        if (auto pfn = std::exchange(s_pfn, nullptr))
            pfn();
    }
    static void (*s_pfn)();
    UINT_PTR m_timer;
};

void (*InsideLoop::s_pfn)() = nullptr;

class CComboDlg : public CDialog
{
public:
    CComboDlg() : CDialog(IDD_TEST_COMBO) {}

    bool refuseStrings = false;
    int exchanges = 0;
    std::vector<std::wstring> items;

protected:
    BOOL OnInitDialog() override
    {
        const HWND hCombo = ::GetDlgItem(m_hWnd, IDC_TEST_COMBO);
        if (refuseStrings)
            s_pfnCombo = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrW(hCombo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingCombo)));
        const BOOL bResult = CDialog::OnInitDialog();
        items = ComboItems(hCombo);
        return bResult;
    }
    void DoDataExchange(CDataExchange*) override { ++exchanges; }

private:
    static LRESULT CALLBACK RefusingCombo(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == CB_ADDSTRING)
            return CB_ERRSPACE;
        return ::CallWindowProcW(s_pfnCombo, hWnd, message, wParam, lParam);
    }
    static WNDPROC s_pfnCombo;
};

WNDPROC CComboDlg::s_pfnCombo = nullptr;

CComboDlg* g_pRunning = nullptr;

TEST(DialogTest, InitialDataStringsAreAddedInTheDialogsOwnCodePage)
{
    // GBK text, shown right whatever the system's ANSI code page is.
    CComboDlg dlg;
    g_pRunning = &dlg;
    InsideLoop end([] { g_pRunning->EndDialog(7); });
    EXPECT_EQ(dlg.DoModal(), 7);
    EXPECT_EQ(dlg.items, (std::vector<std::wstring>{L"手动a", L"abc"}));
    EXPECT_EQ(dlg.exchanges, 1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(DialogTest, RefusedStringEndsTheDialogWithMinusOne)
{
    CComboDlg dlg;
    dlg.refuseStrings = true;
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.exchanges, 0);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

// Dialogs that record the pre-translation they are offered.
std::vector<std::string> g_offers;

class CRecordingDlg : public CDialog
{
public:
    CRecordingDlg(UINT nID, const char* name, bool handle) : CDialog(nID), m_name(name), m_handle(handle) {}

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message != WM_KEYDOWN)
            return CDialog::PreTranslateMessage(pMsg);
        g_offers.emplace_back(m_name);
        return m_handle;
    }

private:
    const char* m_name;
    bool m_handle;
};

TEST(DialogTest, MessagesAreOfferedToTheInnermostDialogFirst)
{
    for (bool innerHandles : {false, true})
    {
        g_offers.clear();
        CWinApp app;
        CRecordingDlg outer(IDD_TEST_HOST, "outer", false);
        CRecordingDlg inner(IDD_TEST_CHILD, "inner", innerHandles);
        app.m_pMainWnd = &outer;
        ASSERT_TRUE(outer.Create(IDD_TEST_HOST));
        ASSERT_TRUE(inner.Create(IDD_TEST_CHILD)); // a child of the main window
        EXPECT_EQ(::GetParent(inner.m_hWnd), outer.m_hWnd);

        ::PostMessageW(::GetDlgItem(inner.m_hWnd, IDC_TEST_INNER_EDIT), WM_KEYDOWN, 'A', 1);
        PumpPending();
        if (innerHandles)
            EXPECT_EQ(g_offers, (std::vector<std::string>{"inner"}));
        else
            EXPECT_EQ(g_offers, (std::vector<std::string>{"inner", "outer"}));
        outer.DestroyWindow();
        EXPECT_EQ(inner.m_hWnd, nullptr);
        EXPECT_EQ(app.m_pMainWnd, nullptr);
    }
}

TEST(DialogTest, DialogWithoutPositionOfItsOwnIsCentred)
{
    CDialog centred(IDD_TEST_HOST);
    ASSERT_TRUE(centred.Create(IDD_TEST_HOST));
    RECT rc;
    ::GetWindowRect(centred.m_hWnd, &rc);
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((rc.left + rc.right) / 2 - (work.left + work.right) / 2), 1);
    EXPECT_LE(std::abs((rc.top + rc.bottom) / 2 - (work.top + work.bottom) / 2), 1);

    // A dialog placed by its template stays where the template puts its
    // client area.
    CDialog placed(IDD_TEST_PLACED);
    ASSERT_TRUE(placed.Create(IDD_TEST_PLACED));
    POINT origin = {0, 0};
    ::ClientToScreen(placed.m_hWnd, &origin);
    RECT expected = {30, 40, 0, 0};
    ::MapDialogRect(placed.m_hWnd, &expected);
    EXPECT_EQ(origin.x, expected.left);
    EXPECT_EQ(origin.y, expected.top);
    centred.DestroyWindow();
    placed.DestroyWindow();
}

// A dialog with an ActiveX item bound to a wrapper.
class CActiveXDlg : public CDialog
{
public:
    CActiveXDlg() : CDialog(IDD_TEST_ACTIVEX) {}

    CWnd m_control;
    int exchanges = 0;
    bool initialised = false;

protected:
    BOOL OnInitDialog() override
    {
        initialised = true;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        ++exchanges;
        DDX_Control(pDX, IDC_TEST_CONTROL, m_control);
    }
};

TEST(ActiveXDialogTest, TemplateItemIsCreatedInItsPlaceAndBound)
{
    FakeWebBrowserClass browser;
    AfxEnableControlContainer();
    CActiveXDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_ACTIVEX));
    ASSERT_NE(browser.Last(), nullptr);
    const HWND hControl = browser.Last()->Window();

    EXPECT_EQ(dlg.m_control.m_hWnd, hControl);
    EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_TEST_CONTROL), hControl);
    EXPECT_EQ(::GetParent(hControl), dlg.m_hWnd);
    EXPECT_EQ(browser.Record().state, "testdata");
    EXPECT_EQ(dlg.exchanges, 1);

    // Position and size from the item's dialog units.
    RECT expected = {5, 25, 155, 105};
    ::MapDialogRect(dlg.m_hWnd, &expected);
    RECT rc;
    ::GetWindowRect(hControl, &rc);
    ::MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<LPPOINT>(&rc), 2);
    EXPECT_EQ(rc.left, expected.left);
    EXPECT_EQ(rc.top, expected.top);
    EXPECT_EQ(rc.right, expected.right);
    EXPECT_EQ(rc.bottom, expected.bottom);

    // Template order, which is tab order: button, control, label.
    const HWND hButton = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_BUTTON);
    EXPECT_EQ(::GetWindow(dlg.m_hWnd, GW_CHILD), hButton);
    EXPECT_EQ(::GetWindow(hButton, GW_HWNDNEXT), hControl);
    EXPECT_EQ(::GetDlgCtrlID(::GetWindow(hControl, GW_HWNDNEXT)), -1); // the label

    dlg.DestroyWindow();
    EXPECT_EQ(FakeWebBrowserClass::LiveObjects(), 0);
}

TEST(ActiveXDialogTest, SiteAndContainerAnswerWithOneIdentityEach)
{
    FakeWebBrowserClass browser;
    AfxEnableControlContainer();
    CActiveXDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_ACTIVEX));
    COleControlSite* pSite = dlg.GetControlContainer()->FindSite(dlg.m_control.m_hWnd);
    ASSERT_NE(pSite, nullptr);

    auto identity = [](IUnknown* p) {
        ComPtr<IUnknown> pUnk;
        p->QueryInterface(IID_IUnknown, pUnk.PutVoid());
        return pUnk.Get();
    };
    IUnknown* siteIdentity = identity(static_cast<IOleClientSite*>(pSite));
    for (REFIID iid : {IID_IOleClientSite, IID_IOleInPlaceSite, IID_IOleWindow, IID_IOleControlSite, IID_IDispatch})
    {
        ComPtr<IUnknown> p;
        ASSERT_EQ(pSite->QueryInterface(iid, p.PutVoid()), S_OK);
        EXPECT_EQ(identity(p.Get()), siteIdentity);
    }

    ComPtr<IOleContainer> pContainer;
    ASSERT_EQ(pSite->GetContainer(pContainer.Put()), S_OK);
    IUnknown* containerIdentity = identity(pContainer.Get());
    EXPECT_NE(containerIdentity, siteIdentity);
    for (REFIID iid :
         {IID_IOleInPlaceFrame, IID_IOleInPlaceUIWindow, IID_IOleWindow, IID_IOleContainer, IID_IParseDisplayName})
    {
        ComPtr<IUnknown> p;
        ASSERT_EQ(pContainer->QueryInterface(iid, p.PutVoid()), S_OK);
        EXPECT_EQ(identity(p.Get()), containerIdentity);
    }
    ComPtr<IUnknown> none;
    EXPECT_EQ(pContainer->QueryInterface(IID_IOleClientSite, none.PutVoid()), E_NOINTERFACE);

    HWND hFrame = nullptr;
    ComPtr<IOleInPlaceFrame> pFrame;
    ASSERT_EQ(pContainer->QueryInterface(IID_IOleInPlaceFrame, pFrame.PutVoid()), S_OK);
    EXPECT_EQ(pFrame->GetWindow(&hFrame), S_OK);
    EXPECT_EQ(hFrame, dlg.m_hWnd);
    dlg.DestroyWindow();
}

TEST(ActiveXDialogTest, ControlThatCannotBeCreatedEndsTheModalRunBeforeDataExchange)
{
    FakeWebBrowserClass browser(FakeBrowserFailure::Activate);
    AfxEnableControlContainer();
    CActiveXDlg dlg;
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.initialised);
    EXPECT_EQ(dlg.exchanges, 0);
    EXPECT_EQ(dlg.m_control.m_hWnd, nullptr);
    EXPECT_EQ(FakeWebBrowserClass::LiveObjects(), 0);
}

TEST(ActiveXDialogTest, WithoutControlHostingSuchATemplateCannotBeCreated)
{
    if (AfxControlContainerEnabled())
        GTEST_SKIP() << "control hosting was switched on earlier in this process";
    FakeWebBrowserClass browser;
    CActiveXDlg dlg;
    EXPECT_FALSE(dlg.Create(IDD_TEST_ACTIVEX));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(browser.Last(), nullptr);
}

} // namespace
