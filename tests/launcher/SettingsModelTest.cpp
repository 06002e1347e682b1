// The settings file as every launcher of a folder and every feature of a
// launcher share it. Seeded runs of what they do to it: rows and addresses
// chosen, options set, changed and removed, the boss key's hide and show,
// other launchers saving between, another program holding the file for a
// while, launchers started while it is held, their first saves held until
// their windows show, killed or closed. After each step the file is
// compared with a model of what it must hold: nothing lost, nothing left
// behind, every section whole, nothing written that a launcher could not
// read or read before another launcher's save.
//
// A run that fails prints its seed and its steps; ORLIM_SETTINGS_SEED=<seed>
// runs that one alone.

#include "harness/TempDir.h"

#include "framework/UniqueHandle.h"
#include "launcher/settings/Settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{

const wchar_t* const kOptionKeys[] = {L"Zoom",   L"TopMost",        L"Mute",   L"BossKey",
                                      L"Volume", L"BackgroundMute", L"MuteKey"};
const wchar_t* const kOptionValues[] = {L"150", L"70", L"25", L"0", L"1", L"Ctrl+Shift+F9", L"Alt+F2", L"F7"};
const wchar_t kMark[] = L"BossMute";
const UINT_PTR kTimer = 2;
const DWORD kPatienceMs = 2000;           // a launcher that ends waits so long for the file
const int kTriesBeforeTheNoticeSays = 40; // 10 s of tries every 250 ms
const wchar_t kHeldNotice[] = L"正被其他程序占用";
const wchar_t kUnreadNotice[] = L"尚未读取";

// What another program does to the file for a while.
enum class Hold
{
    None,
    Alone,       // opens it for itself: nobody reads it or replaces it
    LetsRead,    // lets others read it, not replace it
    LetsReplace, // lets it be replaced, not read (a virus scanner's way)
    LocksRange,  // locks its bytes: reading them is refused
    Moment,      // opens it for itself while the next save copies it, then lets go
};
const char* const kHoldNames[] = {
    "", "alone", "letting others read", "letting it be replaced", "locking its bytes", "alone for a moment"};

// Windows refuses to read bytes that another program locked
// (ERROR_LOCK_VIOLATION); Wine reads them. A program that holds the file
// for a moment refuses the copy, and is gone by the replace.
std::atomic<bool> g_bLocked{false};
std::atomic<bool> g_bMoment{false};
BOOL WINAPI CopyFileAsWindows(LPCWSTR lpszFrom, LPCWSTR lpszTo, BOOL bFailIfExists)
{
    if (g_bLocked || g_bMoment.exchange(false))
    {
        ::SetLastError(g_bLocked ? ERROR_LOCK_VIOLATION : ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    return ::CopyFileW(lpszFrom, lpszTo, bFailIfExists);
}

BOOL WINAPI ReadFileAsWindows(HANDLE hFile, LPVOID pBuffer, DWORD cbToRead, LPDWORD pcbRead, LPOVERLAPPED pOverlapped)
{
    if (g_bLocked)
    {
        ::SetLastError(ERROR_LOCK_VIOLATION);
        return FALSE;
    }
    return ::ReadFile(hFile, pBuffer, cbToRead, pcbRead, pOverlapped);
}

std::string Narrow(const std::wstring& wide)
{
    std::string narrow;
    for (const wchar_t c : wide)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// The file as it must be: section name -> key -> value, names in small
// letters.
using Sections = std::map<std::wstring, std::map<std::wstring, std::wstring>>;
using Key = std::optional<std::wstring>; // a key's value, or none

Key Find(const Sections& sections, const wchar_t* lpszSection, const wchar_t* lpszKey)
{
    const auto section = sections.find(lpszSection);
    if (section == sections.end())
        return std::nullopt;
    const auto key = section->second.find(Lower(lpszKey));
    return key == section->second.end() ? Key() : key->second;
}

class ModelRun
{
public:
    explicit ModelRun(unsigned seed) : m_random(seed), m_file(m_dir.File(L"UserVar.ini"))
    {
        // What the player or another program keeps in the file: another
        // section, and a key of the options' own, longer than a first read of
        // the section takes.
        std::string text;
        if (Chance(2))
        {
            text += "[other]\r\nkept=1\r\n";
            m_expected[L"other"][L"kept"] = L"1";
        }
        if (Chance(3))
        {
            text += "[options]\r\nNote=" + std::string(600, 'n') + "\r\n";
            m_expected[L"options"][L"note"] = std::wstring(600, L'n');
        }
        if (!text.empty())
            WriteFileBytes(m_file, text);
    }
    ~ModelRun()
    {
        while (!m_launchers.empty())
            Kill(0);
        LetGo();
    }
    ModelRun(const ModelRun&) = delete;
    ModelRun& operator=(const ModelRun&) = delete;

    // Runs the steps; what first differed from the model, or empty.
    std::string Go(int nSteps)
    {
        for (int i = 0; i < nSteps && m_fault.empty(); ++i)
        {
            Step();
            Check();
        }
        return m_fault;
    }
    std::string Log() const { return m_log.str(); }

private:
    struct Launcher
    {
        std::unique_ptr<CSettings> pSettings;
        HWND hWnd = nullptr; // its timer's
        std::vector<std::pair<std::wstring, std::function<void(Sections&)>>> waiting;
        int nTries = 0; // held up, since the last save that landed
        bool bHidden = false;
        bool bUnread = false;                       // the file was held when it started
        bool bChosen = false;                       // its player chose a row
        bool bHeldForPaint = false;                 // its window has not shown yet
        Key readRow, readUrl;                       // as it read them
        std::map<std::wstring, Key> changedOptions; // by its player and features
        int nId = 0;
    };

    bool Chance(int n) { return m_random() % n == 0; }
    size_t Pick(size_t n) { return m_random() % n; }
    std::ostream& Say(const Launcher& launcher) { return m_log << "  launcher " << launcher.nId << ": "; }

    void Step()
    {
        if (m_launchers.empty() || (m_launchers.size() < 3 && Chance(8)))
            return Start();
        Launcher& launcher = m_launchers[Pick(m_launchers.size())];
        switch (Pick(10))
        {
        case 0:
        case 1:
            return ChooseRow(launcher);
        case 2:
        case 3:
            return SetOption(launcher);
        case 4:
            return BossKey();
        case 5:
            return m_hold == Hold::None ? TakeHold() : (LetGo(), void());
        case 6:
            return launcher.bHeldForPaint && Chance(2) ? Shown(launcher) : Tick();
        case 7:
            return Tick();
        case 8:
            return Kill(Pick(m_launchers.size()));
        default:
            return Close(Pick(m_launchers.size()));
        }
    }

    void Start()
    {
        Launcher launcher;
        launcher.nId = ++m_nLaunchers;
        SettingsFileCalls calls;
        calls.pfnCopyFile = CopyFileAsWindows;
        calls.pfnReadFile = ReadFileAsWindows;
        launcher.pSettings = std::make_unique<CSettings>(m_dir.Path().c_str(), calls);
        launcher.hWnd = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        const int nId = launcher.nId;
        launcher.pSettings->Attach(
            launcher.hWnd, kTimer, [] {}, [this, nId] { ReadLate(nId); });
        Say(launcher) << "starts\n";
        // Its first saves wait until its window has shown.
        launcher.bHeldForPaint = Chance(2);
        if (launcher.bHeldForPaint)
            launcher.pSettings->HoldSaves(60000);
        const bool bRead = launcher.pSettings->Load();
        m_launchers.push_back(std::move(launcher));
        Launcher& started = m_launchers.back();
        if (bRead != LauncherCanRead())
            return Fault(bRead ? "a launcher read a file it could not read" : "a launcher did not read a free file");
        started.bUnread = !bRead;
        if (bRead)
            return ShowWhatWasRead(started);
        // It shows the first row until then, which is not its player's: no
        // save.
        started.pSettings->SaveRowAndUrl(0, CString(L"http://first.test/"), false);
        Tried(started);
    }

    // The file, held when the launcher started, has been read.
    void ReadLate(int nId)
    {
        for (Launcher& launcher : m_launchers)
            if (launcher.nId == nId)
            {
                Say(launcher) << "reads the file now\n";
                if (!launcher.bUnread || !LauncherCanRead())
                    return Fault("the file was read again when it should not have been");
                launcher.bUnread = false;
                // Its player's choice of a row stands.
                if (launcher.pSettings->IsRowChosen() != launcher.bChosen)
                    return Fault("the row chosen is not known as such");
                if (!launcher.bChosen)
                    ShowWhatWasRead(launcher);
            }
    }

    // What it read is what was saved; it shows that, and the first page, as
    // if its row had been chosen, changes nothing unless a key was missing.
    void ShowWhatWasRead(Launcher& launcher)
    {
        launcher.readRow = Find(m_expected, L"section", L"ServersSel");
        launcher.readUrl = Find(m_expected, L"section", L"Url");
        const int nRow = std::wcstol(launcher.readRow.value_or(L"0").c_str(), nullptr, 10);
        const std::wstring url = launcher.readUrl.value_or(L"http://first.test/");
        if (std::wstring(launcher.pSettings->RowAndUrl().Url(L"none")) != launcher.readUrl.value_or(L"none") ||
            launcher.pSettings->RowAndUrl().Row() != nRow)
            Fault("the row and address read are not the ones saved");
        // Its options are what was read, with what it changed since.
        std::vector<const wchar_t*> keys(std::begin(kOptionKeys), std::end(kOptionKeys));
        keys.push_back(kMark);
        for (const wchar_t* lpszKey : keys)
        {
            const auto changed = launcher.changedOptions.find(Lower(lpszKey));
            const Key expected =
                changed != launcher.changedOptions.end() ? changed->second : Find(m_expected, L"options", lpszKey);
            if (std::wstring(launcher.pSettings->Options().Text(lpszKey)) != expected.value_or(L""))
                Fault("option " + Narrow(lpszKey) + " read is not the one saved");
        }
        // A launcher ended while hidden left the boss key's mark: undone.
        if (launcher.pSettings->Options().Switch(kMark) && !launcher.bHidden)
            SaveOption(launcher, kMark, nullptr);
        Say(launcher) << "shows row " << nRow << " " << Narrow(url) << "\n";
        launcher.pSettings->SaveRowAndUrl(nRow, CString(url.c_str()), false);
        const Key row = std::to_wstring(nRow);
        if (row == launcher.readRow && url == launcher.readUrl)
            return; // nothing to save
        Waits(launcher, L"section",
              [row, url = Key(url), readRow = launcher.readRow, readUrl = launcher.readUrl](Sections& file) {
                  // Only where the file still holds what was read, and differs.
                  const auto set = [&file](const wchar_t* lpszKey, const Key& mine, const Key& before) {
                      const Key there = Find(file, L"section", lpszKey);
                      if (there == before && mine != there)
                          file[L"section"][Lower(lpszKey)] = *mine;
                  };
                  set(L"ServersSel", row, readRow);
                  set(L"Url", url, readUrl);
              });
        Tried(launcher);
    }

    void ChooseRow(Launcher& launcher)
    {
        const int nRow = static_cast<int>(Pick(79));
        const std::wstring url = L"http://row" + std::to_wstring(nRow) + L".test/" + std::to_wstring(Pick(100));
        Say(launcher) << "row " << nRow << " " << Narrow(url) << "\n";
        launcher.bChosen = true;
        Waits(launcher, L"section", [nRow, url](Sections& file) {
            file[L"section"][L"serverssel"] = std::to_wstring(nRow);
            file[L"section"][L"url"] = url;
        });
        launcher.pSettings->SaveRowAndUrl(nRow, CString(url.c_str()), true);
        Tried(launcher);
    }

    // Its window has shown: its saves are held no more.
    void Shown(Launcher& launcher)
    {
        Say(launcher) << "shows its window\n";
        launcher.bHeldForPaint = false;
        launcher.pSettings->ResumeSaves();
        Tried(launcher);
    }

    void SetOption(Launcher& launcher)
    {
        const wchar_t* lpszKey = kOptionKeys[Pick(std::size(kOptionKeys))];
        const wchar_t* lpszValue = Chance(4) ? nullptr : kOptionValues[Pick(std::size(kOptionValues))];
        SaveOption(launcher, lpszKey, lpszValue);
    }

    void SaveOption(Launcher& launcher, const wchar_t* lpszKey, const wchar_t* lpszValue)
    {
        Say(launcher) << Narrow(lpszKey) << (lpszValue ? " = " + Narrow(lpszValue) : std::string(" removed")) << "\n";
        const std::wstring key = Lower(lpszKey);
        const std::wstring value = lpszValue ? lpszValue : L"";
        launcher.changedOptions[key] = lpszValue ? Key(value) : Key();
        Waits(launcher, lpszKey, [key, value, bRemove = !lpszValue](Sections& file) {
            if (!bRemove)
                file[L"options"][key] = value;
            else if (file[L"options"].erase(key) && file[L"options"].empty())
                file.erase(L"options");
        });
        launcher.pSettings->SaveOption(lpszKey, lpszValue);
        Tried(launcher);
    }

    // The boss key: every launcher hides, or every hidden one shows again.
    void BossKey()
    {
        const bool bHide = std::none_of(m_launchers.begin(), m_launchers.end(),
                                        [](const Launcher& launcher) { return launcher.bHidden; });
        for (Launcher& launcher : m_launchers)
        {
            launcher.bHidden = bHide;
            SaveOption(launcher, kMark, bHide ? L"1" : nullptr);
        }
    }

    void TakeHold()
    {
        const auto hold = static_cast<Hold>(1 + Pick(5));
        if (hold == Hold::Moment)
        {
            if (::GetFileAttributesW(m_file.c_str()) == INVALID_FILE_ATTRIBUTES)
                return;
            m_hold = hold;
            g_bMoment = true;
            m_log << "  another program holds the file, " << kHoldNames[static_cast<int>(hold)] << "\n";
            return;
        }
        const DWORD dwShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE};
        m_hHeld.Reset(::CreateFileW(m_file.c_str(), GENERIC_READ, dwShare[static_cast<int>(hold)], nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        if (!m_hHeld)
            return; // no file yet
        m_hold = hold;
        g_bLocked = hold == Hold::LocksRange;
        m_log << "  another program holds the file, " << kHoldNames[static_cast<int>(hold)] << "\n";
    }

    void LetGo()
    {
        if (m_hold == Hold::None)
            return;
        m_log << "  the other program lets go\n";
        m_hHeld.Reset();
        g_bLocked = false;
        g_bMoment = false;
        m_hold = Hold::None;
    }

    // The launchers' timers come round, once, or for more than ten seconds
    // while the file is held.
    void Tick()
    {
        const int nTicks = m_hold != Hold::None && Chance(2) ? kTriesBeforeTheNoticeSays + 5 : 1;
        m_log << "  " << nTicks << " ticks\n";
        for (int i = 0; i < nTicks; ++i)
            for (Launcher& launcher : m_launchers)
                if (::KillTimer(launcher.hWnd, kTimer))
                {
                    launcher.pSettings->OnTimer();
                    Tried(launcher);
                }
                else if (!launcher.waiting.empty() || launcher.bUnread)
                {
                    return Fault("a save that waits, or a file not read, is not tried again");
                }
    }

    void Kill(size_t i)
    {
        Say(m_launchers[i]) << "killed\n";
        Forget(i);
    }

    // The player closes it: the boss key's mark goes, and a program holding
    // the file lets go while the launcher waits for it.
    void Close(size_t i)
    {
        Launcher& launcher = m_launchers[i];
        Say(launcher) << "closed\n";
        if (launcher.bHidden)
            SaveOption(launcher, kMark, nullptr);
        std::thread letGo;
        if (m_hold != Hold::None)
            letGo = std::thread([this] {
                ::Sleep(10);
                LetGo();
            });
        launcher.bHeldForPaint = false;
        launcher.pSettings->Flush(kPatienceMs);
        if (letGo.joinable())
            letGo.join();
        Lands(launcher);
        Forget(i);
    }

    void Forget(size_t i)
    {
        ::DestroyWindow(m_launchers[i].hWnd);
        m_launchers.erase(m_launchers.begin() + static_cast<std::ptrdiff_t>(i));
    }

    // The model's side of a save: it waits with the launcher's others.
    void Waits(Launcher& launcher, const std::wstring& item, std::function<void(Sections&)> apply)
    {
        for (auto& waiting : launcher.waiting)
            if (waiting.first == item)
                return void(waiting.second = std::move(apply));
        launcher.waiting.emplace_back(item, std::move(apply));
    }

    // The launcher tried to save what waits: it lands unless the file is held.
    void Tried(Launcher& launcher)
    {
        if (launcher.waiting.empty() || launcher.bHeldForPaint)
            return;
        if (m_hold == Hold::None)
            return Lands(launcher);
        ++launcher.nTries;
        if (m_hold == Hold::Moment)
            LetGo(); // its moment is over
    }

    void Lands(Launcher& launcher)
    {
        for (auto& waiting : launcher.waiting)
            waiting.second(m_expected);
        launcher.waiting.clear();
        launcher.nTries = 0;
    }

    // Whether a launcher can read the file whole, as on Windows; whether the
    // test can read it, under Wine.
    bool LauncherCanRead() const { return m_hold == Hold::None || m_hold == Hold::LetsRead || m_hold == Hold::Moment; }
    bool Readable() const { return LauncherCanRead() || m_hold == Hold::LocksRange; }

    void Check()
    {
        for (const Launcher& launcher : m_launchers)
        {
            const std::wstring notice(launcher.pSettings->Problem());
            if ((notice.find(kUnreadNotice) != std::wstring::npos) != launcher.bUnread)
                return Fault("launcher " + std::to_string(launcher.nId) + "'s notice is wrong about what it read: \"" +
                             Narrow(notice) + "\"");
            const bool bSays = notice.find(kHeldNotice) != std::wstring::npos && !launcher.bUnread;
            if (!launcher.bUnread &&
                (bSays != (launcher.nTries >= kTriesBeforeTheNoticeSays) || (!bSays && !notice.empty())))
                return Fault("launcher " + std::to_string(launcher.nId) + "'s notice is wrong after " +
                             std::to_string(launcher.nTries) + " tries held up: \"" + Narrow(notice) + "\"");
        }
        for (const std::wstring& name : FileNames(m_dir.Path()))
            if (name != L"UserVar.ini")
                return Fault("a copy was left behind: " + Narrow(name));
        if (!Readable())
            return;
        std::string problem;
        const Sections file = Parse(ReadFileBytes(m_file), &problem);
        if (!problem.empty())
            return Fault(problem);
        Sections expected = m_expected;
        for (auto it = expected.begin(); it != expected.end();)
            it = it->second.empty() ? expected.erase(it) : std::next(it);
        if (file != expected)
            Fault("the file differs from the model: it has\n" + Describe(file) + "where the model has\n" +
                  Describe(expected));
    }

    // The file's sections; a section named twice, or a line of neither kind,
    // is a problem.
    static Sections Parse(const std::string& bytes, std::string* pProblem)
    {
        Sections sections;
        std::map<std::wstring, std::wstring>* pSection = nullptr;
        std::istringstream lines(bytes);
        std::string line;
        while (std::getline(lines, line))
        {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty())
                continue;
            const std::wstring wide = Lower(std::wstring(line.begin(), line.end()));
            if (wide.front() == L'[' && wide.back() == L']')
            {
                const std::wstring name = wide.substr(1, wide.size() - 2);
                if (sections.count(name))
                    *pProblem = "section [" + Narrow(name) + "] is there twice";
                pSection = &sections[name];
            }
            else if (const size_t at = wide.find(L'='); at != std::wstring::npos && pSection)
                (*pSection)[wide.substr(0, at)] =
                    std::wstring(line.begin() + static_cast<std::ptrdiff_t>(at) + 1, line.end());
            else
                *pProblem = "a line of no section: " + line;
        }
        return sections;
    }

    static std::string Describe(const Sections& sections)
    {
        std::string text;
        for (const auto& section : sections)
        {
            text += "    [" + Narrow(section.first) + "]";
            for (const auto& key : section.second)
                text += " " + Narrow(key.first) + "=" + Narrow(key.second);
            text += "\n";
        }
        return text;
    }

    void Fault(const std::string& what)
    {
        if (m_fault.empty())
            m_fault = what;
    }

    std::mt19937 m_random;
    TempDir m_dir;
    std::wstring m_file;
    Sections m_expected;
    std::vector<Launcher> m_launchers;
    int m_nLaunchers = 0;
    Hold m_hold = Hold::None;
    UniqueFileHandle m_hHeld;
    std::ostringstream m_log;
    std::string m_fault;
};

TEST(SettingsModelTest, WhatEveryLauncherAndFeatureSavedIsThereAndNothingElse)
{
    const char* pszSeed = std::getenv("ORLIM_SETTINGS_SEED");
    const unsigned first = pszSeed ? static_cast<unsigned>(std::strtoul(pszSeed, nullptr, 10)) : 1;
    const unsigned count = pszSeed ? 1 : 200;
    for (unsigned seed = first; seed < first + count; ++seed)
    {
        ModelRun run(seed);
        const std::string fault = run.Go(20);
        ASSERT_EQ(fault, "") << "seed " << seed << " (ORLIM_SETTINGS_SEED=" << seed << " runs it alone):\n"
                             << run.Log();
    }
}

} // namespace
