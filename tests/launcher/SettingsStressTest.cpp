// Settings files no launcher wrote: huge, garbage, Unicode, locked. Every
// start comes up with a row of the catalogue, quietly.

#include "harness/LauncherFixture.h"
#include "harness/FakeWebBrowser.h"
#include "harness/LauncherWindow.h"
#include "harness/MessagePump.h"
#include "harness/TempDir.h"

#include "harness/TestHandles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace
{

class SettingsStressTest : public LauncherFixture
{
protected:
    SettingsStressTest() : LauncherFixture(Setup().StartLater()) {}

    // Starts the launcher again; checks it came up sound.
    LauncherWindow& StartSound()
    {
        Start();
        const int row = Launcher().CurrentRow();
        EXPECT_GE(row, 0);
        EXPECT_LE(row, 78);
        EXPECT_EQ(Launcher().UrlEnabled(), row == 78);
        EXPECT_EQ(VisibleThreadWindows(), 1) << "a message box came up";
        return *m_launcher;
    }
};

TEST_F(SettingsStressTest, MegabyteFileIsReadAndKept)
{
    std::string text = "[junk]\r\n";
    for (int i = 0; text.size() < (1u << 20); ++i)
        text += "key" + std::to_string(i) + "=some value that fills the file\r\n";
    text += "[section]\r\nServersSel=7\r\nUrl=http://x.test/\r\n";
    WriteFileBytes(IniPath(), text);

    LauncherWindow& launcher = StartSound();
    EXPECT_EQ(launcher.CurrentRow(), 7);
    launcher.ChooseRow(11);
    const std::string after = ReadFileBytes(IniPath());
    EXPECT_GT(after.size(), 1u << 20);
    EXPECT_NE(after.find("key12345=some value that fills the file\r\n"), std::string::npos);
    EXPECT_NE(after.find("ServersSel=11\r\n"), std::string::npos);
    EXPECT_EQ(StartSound().CurrentRow(), 11);
}

TEST_F(SettingsStressTest, ReaderNeverSeesAHalfWrittenFile)
{
    const std::string other = OtherSection(256 * 1024);
    WriteFileBytes(IniPath(), other);
    LauncherWindow& launcher = StartSound();
    std::vector<std::string> saved; // what a save of each platform row writes
    saved.reserve(COrlimWebDlg::kManualEntryRow);
    for (int row = 0; row < COrlimWebDlg::kManualEntryRow; ++row)
        saved.push_back(SavedSection(row, std::wstring(launcher.Dialog().GetPlatformUrl(row))));

    std::atomic<bool> done{false};
    int reads = 0;
    std::vector<std::string> faults;
    std::thread reader([&] {
        while (!done)
        {
            // A moment when the file cannot be opened (it is being
            // replaced) is no read.
            bool bOpened = false;
            const std::string text = ReadFileBytes(IniPath(), &bOpened);
            if (!bOpened)
                continue;
            ++reads;
            const size_t at = text.find("[section]");
            const bool whole = text.compare(0, other.size(), other) == 0 && at == other.size() &&
                               std::find(saved.begin(), saved.end(), text.substr(at)) != saved.end();
            if (!whole && faults.size() < 3)
                faults.push_back(text.size() > 200 ? text.substr(text.size() - 200) : text);
        }
    });
    for (int i = 0; i < 150; ++i)
        launcher.ChooseRow(1 + i % 77);
    done = true;
    reader.join();

    EXPECT_GT(reads, 10);
    EXPECT_EQ(faults, std::vector<std::string>());
    WIN32_FIND_DATAW found;
    const UniqueFindHandle stray(::FindFirstFileW(m_dir.File(L"*.tmp").c_str(), &found));
    EXPECT_FALSE(stray) << "a copy was left behind";
}

TEST_F(SettingsStressTest, BinaryGarbageGivesAValidRow)
{
    std::mt19937 random(20261207);
    for (int round = 0; round < 5; ++round)
    {
        std::string garbage(64 * 1024, '\0');
        for (char& c : garbage)
            c = static_cast<char>(random());
        if (round == 1)
            garbage += "\r\n[section]\r\nServersSel=3\r\n"; // garbage around a sound key
        WriteFileBytes(IniPath(), garbage);
        LauncherWindow& launcher = StartSound();
        launcher.ChooseRow(4);
        StartSound();
    }
}

TEST_F(SettingsStressTest, UnicodeFileStaysUnicodeAndKeepsEveryCharacter)
{
    const std::wstring text = L"\xFEFF[section]\r\nServersSel=78\r\nUrl=http://例子.test/路径\r\n";
    WriteFileBytes(IniPath(), std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
    LauncherWindow& launcher = StartSound();
    EXPECT_EQ(launcher.CurrentRow(), 78);
    EXPECT_EQ(launcher.UrlText(), L"http://例子.test/路径");

    launcher.TypeUrl(L"http://游戏.test/");
    launcher.ClickEnter();
    const std::string after = ReadFileBytes(IniPath());
    ASSERT_GE(after.size(), 2u);
    EXPECT_EQ(after.substr(0, 2), "\xFF\xFE");
    const std::wstring wide(reinterpret_cast<const wchar_t*>(after.data() + 2), (after.size() - 2) / 2);
    EXPECT_NE(wide.find(L"Url=http://游戏.test/"), std::wstring::npos);
    EXPECT_EQ(StartSound().UrlText(), L"http://游戏.test/");
}

TEST_F(SettingsStressTest, AFileHeldAtStartIsReadOnceFreeAndNeverWrittenOver)
{
    // A backup or a sync client holds it for itself while the launcher starts.
    const std::string saved = "[section]\r\nServersSel=78\r\nUrl=http://x.test/"
                              "\r\n[options]\r\nZoom=90\r\nTopMost=1\r\nMuteKey=F7\r\nBossKey=Ctrl+Shift+F9\r\n";
    WriteIni(saved);
    UniqueFileHandle hHeld(::CreateFileW(IniPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(hHeld);
    LauncherWindow& launcher = StartSound();
    PumpFor(500);
    hHeld.Reset();
    EXPECT_TRUE(PumpUntil([&] { return launcher.CurrentRow() == 78; }, 3000)) << "not read once free";
    EXPECT_EQ(launcher.UrlText(), L"http://x.test/");
    EXPECT_EQ(Browser().Record().navigations.back(), L"http://x.test/");
    EXPECT_TRUE(::GetWindowLongW(Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "the options apply too";
    EXPECT_TRUE(MenuState(L"90%") & MF_CHECKED);
    EXPECT_EQ(MenuText(L"静音"), L"静音\tF7");
    EXPECT_EQ(MenuText(L"老板键"), L"老板键 (Ctrl+Shift+F9)");
    PumpFor(300);
    EXPECT_EQ(Ini(), saved);
}

} // namespace
