#include "Settings.h"

#include "launcher/settings/SettingsFileCopy.h"
#include "launcher/settings/SettingsLock.h"
#include "framework/UniqueHandle.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace
{

// Another launcher's save takes milliseconds; one that hangs in its save is
// not waited for at start (the file is replaced in one step: it is whole to
// read).
const DWORD kTurnWaitMs = 250;
// A file held at start is read again as soon as the holder lets go.
const UINT kReadRetryMs = 250;

// Whether a file can be read whole now. The profile functions cannot say:
// held by another program for itself, or its bytes locked, a file reads as
// one without the keys, on Windows without an error. One that is not there
// is read whole as empty, and so is a folder of that name.
bool CanReadWhole(const wchar_t* lpszFile, const SettingsFileCalls& calls)
{
    const DWORD dwAttributes = ::GetFileAttributesW(lpszFile);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND || ::GetLastError() == ERROR_PATH_NOT_FOUND;
    if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return true;
    const UniqueFileHandle hFile(calls.pfnCreateFile(lpszFile, GENERIC_READ,
                                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    char buffer[4096];
    DWORD cbRead = 0;
    do
        if (!calls.pfnReadFile(hFile.Get(), buffer, sizeof(buffer), &cbRead, nullptr))
            return false;
    while (cbRead > 0);
    return true;
}

} // namespace

CSettings::CSettings(const wchar_t* lpszStartFolder, const SettingsFileCalls& calls)
    : m_calls(calls), m_place(lpszStartFolder, calls), m_saver(m_place.File(), calls, m_place.Seed())
{
}

void CSettings::Attach(HWND hWnd, UINT_PTR nTimerId, std::function<void()> onNoticeChanged,
                       std::function<void()> onReadLate)
{
    m_hWnd = hWnd;
    m_nTimerId = nTimerId;
    m_onNoticeChanged = std::move(onNoticeChanged);
    m_onReadLate = std::move(onReadLate);
    m_saver.Attach(hWnd, nTimerId, [this] {
        if (m_onNoticeChanged)
            m_onNoticeChanged();
    });
}

bool CSettings::Load()
{
    m_place.MakeFolder();
    Read(kTurnWaitMs);
    KeepReading();
    return m_bRead;
}

void CSettings::Read(DWORD dwTurnWaitMs)
{
    const CSettingsLock turn(m_place.File(), dwTurnWaitMs);
    if (turn.IsHeld())
        CSettingsFileCopy::FinishCutOffSaves(m_place.File());
    // Until the first save begins the file kept elsewhere, the start
    // folder's is the one.
    const wchar_t* lpszRead = m_place.Seed() && ::GetFileAttributesW(m_place.File()) == INVALID_FILE_ATTRIBUTES
                                  ? m_place.Seed()
                                  : static_cast<const wchar_t*>(m_place.File());
    // Whole before and after: a program that took it meanwhile may have
    // left the reads with nothing.
    if (!CanReadWhole(lpszRead, m_calls))
        return;
    CRowAndUrl rowAndUrl = CRowAndUrl::Read(lpszRead);
    COptions options = COptions::Read(lpszRead);
    if (!CanReadWhole(lpszRead, m_calls))
        return;
    m_rowAndUrl = std::move(rowAndUrl);
    m_options = std::move(options);
    for (const auto& change : m_changedOptions)
        m_options.Set(change.first, change.second ? static_cast<const wchar_t*>(*change.second) : nullptr);
    m_bRead = true;
}

void CSettings::KeepReading()
{
    if (!m_bRead && m_hWnd)
        ::SetTimer(m_hWnd, m_nTimerId, kReadRetryMs, nullptr);
}

void CSettings::OnTimer()
{
    if (!m_bRead)
    {
        Read(0); // the timer comes again
        if (m_bRead)
        {
            if (m_onNoticeChanged)
                m_onNoticeChanged();
            if (m_onReadLate)
                m_onReadLate();
        }
    }
    m_saver.OnTimer();
    KeepReading();
}

void CSettings::ResumeSaves()
{
    m_saver.Resume();
    KeepReading();
}

void CSettings::SaveRowAndUrl(int nRow, const CString& strUrl, bool bChosen)
{
    m_bRowChosen = m_bRowChosen || bChosen;
    const CRowAndUrl values(nRow, strUrl);
    // What could not be read is not written back as if it had been.
    if (!bChosen && (!m_bRead || values == m_rowAndUrl))
        return;
    std::optional<CRowAndUrl> before;
    if (!bChosen)
        before = m_rowAndUrl;
    // Both values change together; a save that cannot be made now is made
    // as soon as it can, and the next choice replaces it.
    m_saver.Save(L"section", [values, before](const wchar_t* lpszCopy) {
        return values.WriteTo(lpszCopy, before ? &*before : nullptr);
    });
    KeepReading();
}

void CSettings::SaveOption(const wchar_t* lpszKey, const wchar_t* lpszValue)
{
    // A choice that cannot be saved holds for this run all the same.
    const CString strValue(lpszValue ? lpszValue : L"");
    const bool bRemove = lpszValue == nullptr;
    const CString strKey(lpszKey);
    m_options.Set(lpszKey, lpszValue);
    const std::optional<CString> value = bRemove ? std::nullopt : std::optional<CString>(strValue);
    const auto it = std::find_if(m_changedOptions.begin(), m_changedOptions.end(),
                                 [&](const auto& change) { return std::wcscmp(change.first, lpszKey) == 0; });
    if (it == m_changedOptions.end())
        m_changedOptions.emplace_back(strKey, value);
    else
        it->second = value;
    m_saver.Save(lpszKey, [strKey, strValue, bRemove](const wchar_t* lpszCopy) {
        return COptions::WriteTo(lpszCopy, strKey, bRemove ? nullptr : static_cast<const wchar_t*>(strValue));
    });
    KeepReading();
}

CString CSettings::Problem() const
{
    if (!m_bRead)
        return CString(L"设置尚未读取：UserVar.ini 正被其他程序占用");
    return m_saver.Problem();
}
