#pragma once

#include <string>
#include <vector>

// A fresh directory under the temporary directory that is the current
// directory while the object lives; removed with everything in it after.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
    std::wstring m_previous;
};

// Whole-file helpers for the settings file and its kin.
// Whether the file could be opened at all goes to *pbOpened.
std::string ReadFileBytes(const std::wstring& path, bool* pbOpened = nullptr);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// What a save of a row with its address writes to the settings file's
// section.
std::string SavedSection(int row, const std::wstring& url);
// A section of other keys, at least the given size: what a save must keep.
std::string OtherSection(size_t bytes);
// Which file a path names now: a file put in its place is another one.
unsigned long long FileIdentity(const std::wstring& path);
// The names in a directory that match a pattern ("*.png").
std::vector<std::wstring> FileNames(const std::wstring& directory, const std::wstring& pattern = L"*");
