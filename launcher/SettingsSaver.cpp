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

CSettingsSaver::CSettingsSaver(const wchar_t* lpszFile, const SettingsFileCalls& calls)
    : m_calls(calls), m_strFile(lpszFile)
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

void CSettingsSaver::OnTimer()
{
    TryNow();
}

void CSettingsSaver::Flush(DWORD dwPatienceMs)
{
    const ULONGLONG ullDeadline = ::GetTickCount64() + dwPatienceMs;
    while (TryNow() == SettingsSave::Later && ::GetTickCount64() < ullDeadline)
        ::Sleep(kFlushRetryMs);
}

CString CSettingsSaver::Problem() const
{
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
    if (m_hWnd)
        ::KillTimer(m_hWnd, m_nTimerId);
    if (m_waiting.empty())
        return SettingsSave::Saved;
    SettingsSave result;
    {
        CSettingsFileCopy copy(m_strFile, m_calls);
        result = copy.Failure();
        bool bWritten = copy.IsOpen();
        for (const auto& waiting : m_waiting)
            bWritten = bWritten && waiting.second(copy.GetPath());
        if (copy.IsOpen())
            result = bWritten ? copy.Commit() : SettingsSave::Unwritable;
    }
    if (result == SettingsSave::Saved)
    {
        m_waiting.clear();
        m_nTries = 0;
    }
    else if (result == SettingsSave::Later && m_hWnd)
    {
        ++m_nTries;
        ::SetTimer(m_hWnd, m_nTimerId, m_nTries < kQuickTries ? kRetryMs : kRetryLaterMs, nullptr);
    }
    SetLast(result);
    return result;
}

void CSettingsSaver::SetLast(SettingsSave last)
{
    // A save held for the moment changes nothing of what the player is told.
    if (last == SettingsSave::Later || last == m_last)
        return;
    m_last = last;
    if (m_onProblemChanged)
        m_onProblemChanged();
}
