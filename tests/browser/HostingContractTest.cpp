// The hosting contract, call by call: what the host asks of the browser
// control and in which order (the order Wine's conformance tests expect of
// a host, which native Internet Explorer also follows), and what every
// interface the host hands the control answers.

#include "harness/LauncherFixture.h"
#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/TempDir.h"

#include <gtest/gtest.h>

#include <initguid.h> // CGID_DocHostCommandHandler is in no import library
#include <mshtmhst.h>

#include <string>
#include <vector>

namespace
{

const GUID kOtherGroup = {0x5a3c1d2e, 0x0b4f, 0x4c6a, {0x9e, 0x17, 0x2d, 0x80, 0x44, 0x6b, 0x13, 0xf5}};

class HostingContractTest : public LauncherFixture
{
protected:
    const std::vector<std::string>& Calls() { return Browser().Record().calls; }
};

TEST_F(HostingContractTest, CreationConnectsEventsBeforeActivation)
{
    // Site before state (the control asks for that), events before the
    // control is active (it fires some at once), then the first navigation.
    const std::vector<std::string> expected = {
        "IOleObject::GetMiscStatus",
        "IOleObject::SetClientSite",
        "IPersistStreamInit::Load",
        "IProvideClassInfo2::GetGUID",
        "IConnectionPointContainer::FindConnectionPoint",
        "IConnectionPoint::Advise",
        "IOleObject::SetExtent",
        "IOleObject::DoVerb",
        "IOleWindow::GetWindow",
        "IDispatch::Invoke(Navigate)",
    };
    EXPECT_EQ(Calls(), expected);
}

TEST_F(HostingContractTest, TeardownUndoesCreationInReverse)
{
    const size_t before = Calls().size();
    Launcher().Destroy();
    // Closing fires events: nobody may be listening by then. The site is
    // taken back before the close, so the control calls no dead host.
    const std::vector<std::string> expected = {
        "IConnectionPoint::Unadvise",
        "IOleInPlaceObject::InPlaceDeactivate",
        "IOleObject::SetClientSite(null)",
        "IOleObject::Close",
    };
    EXPECT_EQ(std::vector<std::string>(Calls().begin() + static_cast<std::ptrdiff_t>(before), Calls().end()), expected);
}

TEST_F(HostingContractTest, EveryInterfaceHandedOutAnswersAsItself)
{
    EXPECT_GE(Browser().Record().hostChecks, 9);
    EXPECT_EQ(Browser().Record().hostFaults, std::vector<std::string>());
}

TEST_F(HostingContractTest, ScriptErrorsAreAnsweredQuietlyByContainerAndSite)
{
    IOleClientSite* pSite = Browser().Last()->ClientSite();
    ASSERT_NE(pSite, nullptr);
    ComPtr<IOleContainer> pContainer;
    ASSERT_EQ(pSite->GetContainer(pContainer.Put()), S_OK);

    for (IUnknown* pUnk : {static_cast<IUnknown*>(pContainer.Get()), static_cast<IUnknown*>(pSite)})
    {
        ComPtr<IOleCommandTarget> pTarget;
        ASSERT_EQ(pUnk->QueryInterface(IID_IOleCommandTarget, pTarget.PutVoid()), S_OK);

        VARIANT out;
        ::VariantInit(&out);
        EXPECT_EQ(pTarget->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out), S_OK);
        EXPECT_EQ(out.vt, VT_BOOL);
        EXPECT_EQ(out.boolVal, VARIANT_TRUE); // the page's scripts go on
        EXPECT_EQ(pTarget->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWMESSAGE, 0, nullptr, nullptr),
                  OLECMDERR_E_NOTSUPPORTED);
        EXPECT_EQ(pTarget->Exec(&kOtherGroup, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr), OLECMDERR_E_UNKNOWNGROUP);
        EXPECT_EQ(pTarget->Exec(nullptr, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr), OLECMDERR_E_UNKNOWNGROUP);

        OLECMD cmds[2] = {{OLECMDID_SHOWSCRIPTERROR, 0}, {OLECMDID_SHOWMESSAGE, 0}};
        EXPECT_EQ(pTarget->QueryStatus(&CGID_DocHostCommandHandler, 1, cmds, nullptr), S_OK);
        EXPECT_EQ(cmds[0].cmdf, static_cast<DWORD>(OLECMDF_SUPPORTED | OLECMDF_ENABLED));
        EXPECT_EQ(pTarget->QueryStatus(&CGID_DocHostCommandHandler, 1, &cmds[1], nullptr), OLECMDERR_E_NOTSUPPORTED);
        EXPECT_EQ(cmds[1].cmdf, 0u);
        EXPECT_EQ(pTarget->QueryStatus(&kOtherGroup, 1, cmds, nullptr), OLECMDERR_E_UNKNOWNGROUP);
    }
}

} // namespace
