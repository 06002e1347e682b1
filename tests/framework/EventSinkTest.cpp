// Event sink maps: an event reaches the handler listed for its control and
// dispatch id with its arguments checked, converted and in order; a BOOL*
// argument goes back to the caller; a failing handler becomes
// DISP_E_EXCEPTION and leaves the caller's boolean alone.

#include "framework/COleDispatchException.h"
#include "framework/CWnd.h"
#include "framework/UniqueBstr.h"
#include "framework/UniqueExcepInfo.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

const DISPID kEvent = 273;

class CBaseSink : public CWnd
{
public:
    int baseCalls = 0;

protected:
    void OnBaseEvent(BSTR) { ++baseCalls; }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CBaseSink, CWnd)
    ON_EVENT(CBaseSink, 5, 100, OnBaseEvent, VTS_BSTR)
END_EVENTSINK_MAP()

class CTestSink : public CBaseSink
{
public:
    LPDISPATCH* ppDispSeen = nullptr;
    unsigned long flagsSeen = 0;
    std::wstring contextSeen, urlSeen;
    BOOL setCancel = FALSE;
    bool fail = false;
    int calls = 0;

protected:
    void OnNewWindow(LPDISPATCH* ppDisp, BOOL* Cancel, unsigned long dwFlags, BSTR bstrContext, BSTR bstrUrl)
    {
        ++calls;
        ppDispSeen = ppDisp;
        flagsSeen = dwFlags;
        contextSeen.assign(bstrContext, ::SysStringLen(bstrContext));
        urlSeen.assign(bstrUrl, ::SysStringLen(bstrUrl));
        if (fail)
            throw COleDispatchException(CString(L"the page is gone"), 0, E_ACCESSDENIED);
        if (setCancel)
            *Cancel = setCancel;
    }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CTestSink, CBaseSink)
    ON_EVENT(CTestSink, 5, kEvent, OnNewWindow, VTS_PDISPATCH VTS_PBOOL VTS_UI4 VTS_BSTR VTS_BSTR)
END_EVENTSINK_MAP()

class EventSinkTest : public ::testing::Test
{
protected:
    EventSinkTest() : m_url(L"http://a.test/\0x", 16), m_context(L"ctx", 3)
    {
        for (VARIANT& v : m_args)
            ::VariantInit(&v);
        m_args[4].vt = VT_BYREF | VT_DISPATCH;
        m_args[4].ppdispVal = &m_pDisp;
        m_args[3].vt = VT_BYREF | VT_BOOL;
        m_args[3].pboolVal = &m_cancel;
        m_args[2].vt = VT_I4;
        m_args[2].lVal = 6;
        m_args[1].vt = VT_BSTR;
        m_args[1].bstrVal = m_context.Get();
        m_args[0].vt = VT_BSTR;
        m_args[0].bstrVal = m_url.Get();
    }

    HRESULT Fire(UINT nCtlID = 5, DISPID dispid = kEvent, UINT cArgs = 5)
    {
        DISPPARAMS dp = {m_args, nullptr, cArgs, 0};
        return AfxDispatchEvent(&m_sink, nCtlID, dispid, &dp, m_excep.Put(), &m_argErr);
    }

    CTestSink m_sink;
    UniqueBstr m_url;
    UniqueBstr m_context;
    IDispatch* m_pDisp = nullptr;
    VARIANT_BOOL m_cancel = VARIANT_FALSE;
    VARIANT m_args[5];
    UniqueExcepInfo m_excep;
    UINT m_argErr = 99;
};

TEST_F(EventSinkTest, HandlerGetsTheArgumentsInDeclaredOrder)
{
    EXPECT_EQ(Fire(), S_OK);
    EXPECT_EQ(m_sink.calls, 1);
    EXPECT_EQ(m_sink.ppDispSeen, &m_pDisp);
    EXPECT_EQ(m_sink.flagsSeen, 6u);
    EXPECT_EQ(m_sink.contextSeen, L"ctx");
    EXPECT_EQ(m_sink.urlSeen, std::wstring(L"http://a.test/\0x", 16));
    EXPECT_EQ(m_cancel, VARIANT_FALSE);
}

TEST_F(EventSinkTest, NonZeroBooleanGoesBackAsVariantTrue)
{
    m_sink.setCancel = 1;
    EXPECT_EQ(Fire(), S_OK);
    EXPECT_EQ(m_cancel, VARIANT_TRUE);
    m_sink.setCancel = 7;
    m_cancel = VARIANT_FALSE;
    EXPECT_EQ(Fire(), S_OK);
    EXPECT_EQ(m_cancel, VARIANT_TRUE);
}

TEST_F(EventSinkTest, UntouchedBooleanKeepsItsValue)
{
    m_cancel = VARIANT_TRUE;
    EXPECT_EQ(Fire(), S_OK);
    EXPECT_EQ(m_cancel, VARIANT_TRUE);
}

TEST_F(EventSinkTest, FailingHandlerBecomesAnExceptionResult)
{
    m_sink.fail = true;
    m_sink.setCancel = TRUE;
    EXPECT_EQ(Fire(), DISP_E_EXCEPTION);
    EXPECT_EQ(m_cancel, VARIANT_FALSE);
    EXPECT_EQ(m_excep.info.scode, E_ACCESSDENIED);
    ASSERT_NE(m_excep.info.bstrDescription, nullptr);
    EXPECT_EQ(std::wstring(m_excep.info.bstrDescription), L"the page is gone");
}

TEST_F(EventSinkTest, ArgumentsOfTheWrongKindAreRefused)
{
    EXPECT_EQ(Fire(5, kEvent, 4), DISP_E_BADPARAMCOUNT);
    m_args[3].vt = VT_BOOL; // by value instead of by reference
    EXPECT_EQ(Fire(), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(m_argErr, 3u);
    EXPECT_EQ(m_sink.calls, 0);
}

TEST_F(EventSinkTest, OtherEventsAndControlsReachNoHandler)
{
    EXPECT_EQ(Fire(6), S_OK);
    EXPECT_EQ(Fire(5, 250), S_OK);
    EXPECT_EQ(m_sink.calls, 0);
    EXPECT_EQ(Fire(5, 100, 1), S_OK); // the base class's entry, with the last argument alone
    EXPECT_EQ(m_sink.baseCalls, 1);
}

} // namespace
