#pragma once

#include "framework/CString.h"

// What the player chose in the system menu, as "[options]" of the settings
// file keeps it. Read once at start; a choice is written at once, and only
// its own key, through the settings file's copy-and-replace, so that two
// launchers of one file keep each other's choices. Nothing is written until
// the player chooses something: a first start leaves no "[options]".
struct COptions
{
    // The keys the menu writes ("BossKey" is the player's to write).
    enum class Item
    {
        TopMost,
        Zoom,
        Mute,
    };

    bool bTopMost = false;
    int nZoom = 100; // a CPageZoom option
    bool bMute = false;
    CString strBossKey; // as written, for CBossKey::Parse

    // The options of a file (its full path), in the launchers' turn with
    // it; a value missing or not of its kind reads as its default.
    static COptions Read(const wchar_t* lpszFile);
    // Writes one item as it is now; false when the file could not be saved.
    bool Write(const wchar_t* lpszFile, Item item) const;
};
