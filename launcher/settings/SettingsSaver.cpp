#include "SettingsSaver.h"

#include <cwchar>

namespace
{

// Tried again soon after the other program lets go, then less often.
const UINT kRetryMs = 250;
const UINT kRetryLaterMs = 1000;
const int kQuickTries = 40;
const DWORD kFlushRetryMs = 50;

} // namespace

CSettingsSaver::CSettingsSaver(const wchar_t* lpszFile, const SettingsFileCalls& calls, const wchar_t* lpszSeed)
    : m_calls(calls), m_strFile(lpszFile), m_strSeed(lpszSeed ? lpszSeed : L"")
{
}

void CSettingsSaver::Attach(HWND hWnd, UINT_PTR nTimerId, std::function<void()> onProblemChanged)
{
    m_hWnd = hWnd;
    m_nTimerId = nTimerId;
    m_onProblemChanged = std::move(onProblemChanged);
}

void CSettingsSaver::Save(const wchar_t* lpszItem, Writer writer)
{
    bool bReplaced = false;
    for (auto& waiting : m_waiting)
        if (std::wcscmp(waiting.first, lpszItem) == 0)
        {
            waiting.second = writer;
            bReplaced = true;
        }
    if (!bReplaced)
        m_waiting.emplace_back(CString(lpszItem), std::move(writer));
    TryNow();
}

void CSettingsSaver::Hold(DWORD dwMostMs)
{
    m_bHeld = true;
    m_ullHeldUntil = ::GetTickCount64() + dwMostMs;
    if (m_hWnd)
        ::SetTimer(m_hWnd, m_nTimerId, dwMostMs, nullptr);
}

void CSettingsSaver::Resume()
{
    if (!m_bHeld)
        return;
    m_bHeld = false;
    TryNow();
}

void CSettingsSaver::OnTimer()
{
    // The timer may come early for the file's other business.
    const ULONGLONG ullNow = ::GetTickCount64();
    if (m_bHeld && ullNow < m_ullHeldUntil)
    {
        if (m_hWnd)
            ::SetTimer(m_hWnd, m_nTimerId, static_cast<UINT>(m_ullHeldUntil - ullNow), nullptr);
        return;
    }
    m_bHeld = false;
    TryNow();
}

void CSettingsSaver::Flush(DWORD dwPatienceMs)
{
    m_bHeld = false;
    const ULONGLONG ullDeadline = ::GetTickCount64() + dwPatienceMs;
    while (TryNow() == SettingsSave::Later && ::GetTickCount64() < ullDeadline)
    {
        // Other programs' messages to the window are answered meanwhile.
        const ULONGLONG ullWaitUntil = ::GetTickCount64() + kFlushRetryMs;
        for (ULONGLONG ullNow = ::GetTickCount64(); ullNow < ullWaitUntil; ullNow = ::GetTickCount64())
            if (::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(ullWaitUntil - ullNow), QS_SENDMESSAGE,
                                              0) == WAIT_OBJECT_0)
            {
                MSG msg;
                ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            }
    }
}

CString CSettingsSaver::Problem() const
{
    // Held longer than a program holds a file for a moment.
    if (m_nTries >= kQuickTries)
        return CString(L"设置尚未保存：UserVar.ini 正被其他程序占用");
    switch (m_last)
    {
    case SettingsSave::ReadOnly:
        return CString(L"无法保存设置：UserVar.ini 是只读文件");
    case SettingsSave::NotAFile:
        return CString(L"无法保存设置：UserVar.ini 是一个文件夹");
    case SettingsSave::Unwritable:
        return CString(L"无法保存设置：启动器所在的文件夹不能写入");
    default:
        return CString();
    }
}

SettingsSave CSettingsSaver::TryNow()
{
    if (m_bHeld)
        return SettingsSave::Later;
    if (m_hWnd)
        ::KillTimer(m_hWnd, m_nTimerId);
    if (m_waiting.empty())
        return SettingsSave::Saved;
    SettingsSave result;
    {
        CSettingsFileCopy copy(m_strFile, m_calls,
                               m_strSeed.IsEmpty() ? nullptr : static_cast<const wchar_t*>(m_strSeed));
        result = copy.Failure();
        bool bWritten = copy.IsOpen();
        for (const auto& waiting : m_waiting)
            bWritten = bWritten && waiting.second(copy.GetPath());
        if (copy.IsOpen())
            result =
                bWritten ? copy.Commit() : CSettingsFileCopy::FailureOf(::GetLastError(), SettingsSave::Unwritable);
    }
    if (result == SettingsSave::Saved)
        m_waiting.clear();
    else if (result == SettingsSave::Later && m_hWnd)
        ::SetTimer(m_hWnd, m_nTimerId, m_nTries < kQuickTries ? kRetryMs : kRetryLaterMs, nullptr);
    const CString strBefore = Problem();
    if (result == SettingsSave::Later)
    {
        ++m_nTries;
    }
    else
    {
        m_last = result;
        m_nTries = 0;
    }
    if (std::wcscmp(Problem(), strBefore) != 0 && m_onProblemChanged)
        m_onProblemChanged();
    return result;
}
