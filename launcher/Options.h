#pragma once

#include "framework/CString.h"

// What the player chose in the system menu, as "[options]" of the settings
// file keeps it. Read once at start; a choice is saved at once, and only
// its own key, through the settings file's copy-and-replace, so that two
// launchers of one file keep each other's choices. Nothing is written until
// the player chooses something: a first start leaves no "[options]".
//
// Beside the choices, a mark of the boss key's silence: there while it is
// in force, so that a launcher killed while hidden is not left silent at
// its next start (the system keeps a program's mute from one run to the
// next).
struct COptions
{
    // The keys the menu writes ("BossKey" is the player's to write).
    enum class Item
    {
        TopMost,
        Zoom,
        Mute,
        BossMute,
    };

    bool bTopMost = false;
    int nZoom = 100; // a CPageZoom option
    bool bMute = false;
    CString strBossKey; // as written, for CBossKey::Parse
    bool bBossMute = false; // the boss key's silence was in force

    // The options of a file (its full path), in the launchers' turn with
    // it; a value missing or not of its kind reads as its default.
    static COptions Read(const wchar_t* lpszFile);
    // The key of an item.
    static const wchar_t* Key(Item item) noexcept;
    // Writes one item as it is now into a file (the copy being saved); the
    // boss key's mark goes when its silence is not in force.
    bool WriteTo(const wchar_t* lpszFile, Item item) const;
};
