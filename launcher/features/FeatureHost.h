#pragma once

#include <windows.h>

// What the window that hosts the launcher's features gives every one of
// them. The ids are handed out as a feature asks for them (in its
// constructor), each once: a new comfort needs no id of its own anywhere.
class CFeatureHost
{
public:
    // The launcher's window: its timers, its messages, its system menu.
    virtual HWND Window() const = 0;
    // What the notice line shows changed.
    virtual void NoticeChanged() = 0;
    // The window back to its base size, as with no game to fit to.
    virtual void ApplyBaseLayout() = 0;

    // A command of the system menu, a timer, a message and a hot key of the
    // window's.
    virtual UINT NewCommand() = 0;
    virtual UINT_PTR NewTimer() = 0;
    virtual UINT NewMessage() = 0;
    virtual int NewHotKey() = 0;

protected:
    ~CFeatureHost() = default;
};
