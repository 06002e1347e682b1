#pragma once

#include "framework/CString.h"

#include <map>
#include <string>

// The "[options]" section of the settings file as it was read, with what
// the player changed since: the
// features read their own keys from it ("TopMost", "Zoom", "Mute",
// "BossKey", and "BossMute", the boss key's mark). A choice is saved at
// once, and only its own key, through the settings file's copy-and-replace,
// so that two launchers of one file keep each other's choices. Nothing is
// written until the player chooses something: a first start leaves no
// "[options]".
class COptions
{
public:
    // The options of a file (its full path), read in the launchers' turn
    // with it.
    static COptions Read(const wchar_t* lpszFile);

    // A key's text as written; empty when it is not there.
    CString Text(const wchar_t* lpszKey) const;
    // A whole decimal number that isValue accepts; anything else gives the
    // default.
    int Number(const wchar_t* lpszKey, int nDefault, bool (*isValue)(int)) const;
    // 0 or 1; anything else gives false.
    bool Switch(const wchar_t* lpszKey) const;

    // Sets a key (a null value removes it), as the player changed it.
    void Set(const wchar_t* lpszKey, const wchar_t* lpszValue);

    // Writes a key into a file (the copy being saved); a null value removes
    // it, and the section with it when nothing else is left in it.
    static bool WriteTo(const wchar_t* lpszFile, const wchar_t* lpszKey, const wchar_t* lpszValue);

private:
    std::map<std::wstring, CString> m_values; // keys in small letters
};
