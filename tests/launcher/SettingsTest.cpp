// The settings file .\UserVar.ini: read once at start, written after every
// navigation the launcher's own controls start. Real files in a fresh
// directory, through Wine's real profile functions.

#include "harness/LauncherFixture.h"
#include "harness/FakeWebBrowser.h"
#include "harness/FlashRegistration.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/Pixels.h"
#include "harness/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

namespace
{

const std::wstring kRowZero = L"http://www.velka.cn/";
const char kRemembered[] = "http://remembered.game.test/login.html";

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

class SettingsTest : public LauncherFixture
{
protected:
    SettingsTest() : LauncherFixture(Setup().StartLater()) {}

    const std::wstring& FirstNavigation() { return Browser().Record().navigations.at(m_navigationsBefore); }

    void ForgetNavigations() { m_navigationsBefore = Browser().Record().navigations.size(); }

    size_t m_navigationsBefore = 0;
};

TEST_F(SettingsTest, FirstStartCreatesTheFileWithRowZero)
{
    ASSERT_FALSE(FileExists(IniPath()));
    LauncherWindow& launcher = Start();
    EXPECT_EQ(launcher.CurrentRow(), 0);
    EXPECT_FALSE(launcher.UrlEnabled());
    EXPECT_EQ(launcher.UrlText(), kRowZero);
    EXPECT_EQ(FirstNavigation(), kRowZero);
    EXPECT_EQ(Ini(), "[section]\r\nServersSel=0\r\nUrl=http://www.velka.cn/\r\n");
}

TEST_F(SettingsTest, ManualRowComesBackWithTheRememberedAddress)
{
    WriteIni(std::string("[section]\r\nServersSel=78\r\nUrl=") + kRemembered + "\r\n");
    LauncherWindow& launcher = Start();
    EXPECT_EQ(launcher.CurrentRow(), kManualRow);
    EXPECT_TRUE(launcher.UrlEnabled());
    EXPECT_EQ(Narrow(launcher.UrlText()), kRemembered);
    EXPECT_EQ(Narrow(FirstNavigation()), kRemembered);
}

TEST_F(SettingsTest, EachChoiceRewritesBothValues)
{
    Start().ChooseRow(3);
    const std::string row3 = Narrow(Launcher().UrlText());
    EXPECT_EQ(Ini(), "[section]\r\nServersSel=3\r\nUrl=" + row3 + "\r\n");

    Launcher().ChooseRow(kManualRow); // shows, and saves, the address remembered at start
    EXPECT_EQ(Ini(), "[section]\r\nServersSel=78\r\nUrl=http://www.velka.cn/\r\n");
}

TEST_F(SettingsTest, EnterSavesWhatTheBoxSaysEvenEmpty)
{
    LauncherWindow& launcher = Start();
    launcher.ChooseRow(kManualRow);
    launcher.TypeUrl(L"http://typed.game.test/a?b=c");
    launcher.ClickEnter();
    EXPECT_EQ(Ini(), "[section]\r\nServersSel=78\r\nUrl=http://typed.game.test/a?b=c\r\n");

    launcher.TypeUrl(L"");
    launcher.ClickEnter();
    EXPECT_EQ(Ini(), "[section]\r\nServersSel=78\r\nUrl=\r\n");

    // Next start: the manual row, with the empty address it was left with.
    ForgetNavigations();
    LauncherWindow& again = Start();
    EXPECT_EQ(again.CurrentRow(), kManualRow);
    EXPECT_TRUE(again.UrlEnabled());
    EXPECT_EQ(again.UrlText(), L"");
    EXPECT_EQ(FirstNavigation(), L"");
}

TEST_F(SettingsTest, EmptyUrlIsEmptyNotTheDefault)
{
    WriteIni("[section]\r\nServersSel=78\r\nUrl=\r\n");
    LauncherWindow& launcher = Start();
    EXPECT_EQ(launcher.UrlText(), L"");
    EXPECT_EQ(FirstNavigation(), L"");
}

TEST_F(SettingsTest, MissingUrlIsRowZerosAddress)
{
    WriteIni("[section]\r\nServersSel=78\r\n");
    LauncherWindow& launcher = Start();
    EXPECT_EQ(launcher.UrlText(), kRowZero);
}

TEST_F(SettingsTest, LongAddressComesBackWhole)
{
    for (size_t length : {259u, 260u, 300u, 5000u})
    {
        std::string url = "http://long.game.test/?";
        url += std::string(length - url.size(), 'q');
        WriteIni("[section]\r\nServersSel=78\r\nUrl=" + url + "\r\n");
        ForgetNavigations();
        LauncherWindow& launcher = Start();
        EXPECT_EQ(Narrow(launcher.UrlText()), url) << length;
        EXPECT_EQ(Narrow(FirstNavigation()), url) << length;
        EXPECT_EQ(Ini(), "[section]\r\nServersSel=78\r\nUrl=" + url + "\r\n") << length;
    }
}

TEST_F(SettingsTest, AddressLongerThanAMebicharacterCountsAsAbsent)
{
    for (size_t length : {size_t(1) << 20, (size_t(1) << 20) + 1})
    {
        std::string url = "http://long.game.test/?";
        url += std::string(length - url.size(), 'q');
        WriteIni("[section]\r\nServersSel=78\r\nUrl=" + url + "\r\n");
        LauncherWindow& launcher = Start();
        EXPECT_EQ(Narrow(launcher.UrlText()), length == (size_t(1) << 20) ? url : Narrow(kRowZero)) << length;
    }
}

TEST_F(SettingsTest, OtherContentSurvivesAndKeysAreFoundInAnyOrderAndCase)
{
    WriteIni("; notes\r\n[other]\r\na=1\r\n[SECTION]\r\nURL=http://x.test/\r\nextra=keep\r\nserverssel=5\r\n"
             "[last]\r\nz=9\r\n");
    LauncherWindow& launcher = Start();
    EXPECT_EQ(launcher.CurrentRow(), 5);
    launcher.ChooseRow(kManualRow);
    EXPECT_EQ(launcher.UrlText(), L"http://x.test/");
    EXPECT_EQ(Ini(), "; notes\r\n[other]\r\na=1\r\n[SECTION]\r\nURL=http://x.test/\r\nextra=keep\r\nserverssel=78\r\n"
                     "[last]\r\nz=9\r\n");
}

// How a stored row comes out.
struct StoredRow
{
    const char* value;
    int row;
};

void PrintTo(const StoredRow& stored, std::ostream* os)
{
    *os << '"' << stored.value << '"';
}

std::string StoredRowName(const ::testing::TestParamInfo<StoredRow>& info)
{
    std::string name = "Stored";
    for (const char* p = info.param.value; *p; ++p)
        name += *p == '-'   ? std::string("Minus")
                : *p == '+' ? std::string("Plus")
                : *p == ' ' ? std::string("Space")
                            : std::string(1, *p);
    return *info.param.value ? name : name + "Empty";
}

class StoredRowTest : public SettingsTest, public ::testing::WithParamInterface<StoredRow>
{
};

TEST_P(StoredRowTest, StoredRowIsReadAsItsFirstTwoCharacters)
{
    WriteIni(std::string("[section]\r\nServersSel=") + GetParam().value + "\r\nUrl=" + kRemembered + "\r\n");
    LauncherWindow& launcher = Start();
    const int row = GetParam().row;
    EXPECT_EQ(launcher.CurrentRow(), row);
    EXPECT_EQ(launcher.UrlEnabled(), row == kManualRow);
    EXPECT_EQ(FirstNavigation(), launcher.UrlText());
    EXPECT_NE(Ini().find("ServersSel=" + std::to_string(row) + "\r\n"), std::string::npos);
    // The remembered address stays the manual row's whatever the row was.
    launcher.ChooseRow(kManualRow);
    EXPECT_EQ(Narrow(launcher.UrlText()), kRemembered);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredRowTest,
                         ::testing::Values(StoredRow{"5", 5}, StoredRow{"78", 78}, StoredRow{"123", 12},
                                           StoredRow{"7x", 7}, StoredRow{"abc", 0}, StoredRow{"", 0},
                                           StoredRow{"  4", 4}, StoredRow{"+6", 6}, StoredRow{"077", 7},
                                           // Rows that do not exist count as no stored row.
                                           StoredRow{"79", 0}, StoredRow{"99", 0}, StoredRow{"-1", 0},
                                           StoredRow{"-9", 0}, StoredRow{"-12", 0}, StoredRow{"9999", 0}),
                         StoredRowName);

TEST_F(SettingsTest, UnwritableFileChangesNothingElseAndTheStripSaysSo)
{
    // A directory where the file should be: every write fails.
    ASSERT_TRUE(::CreateDirectoryW(IniPath().c_str(), nullptr));
    const FlashRegistration flash(FlashRegistration::StandIn(L"34.0.0.384"), false); // no Flash notice
    LauncherWindow& launcher = Start();
    EXPECT_EQ(launcher.CurrentRow(), 0);
    launcher.ChooseRow(9);
    launcher.ClickEnter();
    EXPECT_EQ(Browser().Record().navigations.back(), launcher.UrlText());
    EXPECT_TRUE(::IsWindowVisible(launcher.Hwnd()));
    EXPECT_EQ(VisibleThreadWindows(), 1) << "a message box came up";
    EXPECT_GT(StripNoticeOf(launcher.Hwnd()).nWhite, 50);
    EXPECT_TRUE(::GetFileAttributesW(IniPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(Start().CurrentRow(), 0); // the next start finds nothing either
}

TEST_F(SettingsTest, ReadOnlyFileIsReadAndKeptAndTheStripSaysSoUntilASaveLands)
{
    const std::string kept = "[section]\r\nServersSel=9\r\nUrl=http://x.test/\r\n";
    WriteIni(kept);
    ::SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_READONLY);
    const FlashRegistration flash(FlashRegistration::StandIn(L"34.0.0.384"), false); // no Flash notice
    LauncherWindow& launcher = Start();
    EXPECT_EQ(launcher.CurrentRow(), 9);
    launcher.ChooseRow(2);
    EXPECT_EQ(VisibleThreadWindows(), 1) << "a message box came up";
    EXPECT_EQ(Ini(), kept);
    EXPECT_GT(StripNoticeOf(launcher.Hwnd()).nWhite, 50);

    // The player lets the file be written again.
    ::SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    launcher.ChooseRow(3);
    EXPECT_NE(Ini().find("ServersSel=3\r\n"), std::string::npos);
    EXPECT_EQ(StripNoticeOf(launcher.Hwnd()).nWhite, 0);
}

} // namespace
