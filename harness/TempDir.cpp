#include "TempDir.h"

#include "harness/TestHandles.h"

#include <windows.h>

#include <stdexcept>

namespace
{

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW fd;
    const UniqueFindHandle hFind(::FindFirstFileW((path + L"\\*").c_str(), &fd));
    if (hFind)
    {
        do
        {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(hFind.Get(), &fd));
    }
    ::RemoveDirectoryW(path.c_str());
}

std::wstring CurrentDirectory()
{
    wchar_t buffer[MAX_PATH];
    const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, buffer);
    return std::wstring(buffer, n);
}

} // namespace

TempDir::TempDir() : m_previous(CurrentDirectory())
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;)
    {
        m_path = std::wstring(temp) + L"orlim-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++counter);
        if (::CreateDirectoryW(m_path.c_str(), nullptr))
            break;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary directory");
    }
    ::SetCurrentDirectoryW(m_path.c_str());
}

TempDir::~TempDir()
{
    ::SetCurrentDirectoryW(m_previous.c_str());
    RemoveTree(m_path);
}

std::string ReadFileBytes(const std::wstring& path, bool* pbOpened)
{
    const UniqueFileHandle h(::CreateFileW(path.c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    if (pbOpened)
        *pbOpened = static_cast<bool>(h);
    if (!h)
        return {};
    std::string bytes;
    char buffer[65536];
    DWORD n = 0;
    while (::ReadFile(h.Get(), buffer, sizeof(buffer), &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    const UniqueFileHandle h(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD n = 0;
    if (!h || !::WriteFile(h.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr))
        throw std::runtime_error("cannot write a test file");
}

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string SavedSection(int row, const std::wstring& url)
{
    return "[section]\r\nServersSel=" + std::to_string(row) + "\r\nUrl=" + std::string(url.begin(), url.end()) + "\r\n";
}

std::string OtherSection(size_t bytes)
{
    std::string text = "[other]\r\n";
    for (int i = 0; text.size() < bytes; ++i)
        text += "key" + std::to_string(i) + "=kept as it is\r\n";
    return text;
}

unsigned long long FileIdentity(const std::wstring& path)
{
    const UniqueFileHandle file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!file || !::GetFileInformationByHandle(file.Get(), &info))
        return 0;
    return (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

std::vector<std::wstring> FileNames(const std::wstring& directory, const std::wstring& pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    const UniqueFindHandle hFind(::FindFirstFileW((directory + L"\\" + pattern).c_str(), &fd));
    if (hFind)
        do
            if (fd.cFileName[0] != L'.')
                names.emplace_back(fd.cFileName);
        while (::FindNextFileW(hFind.Get(), &fd));
    return names;
}
