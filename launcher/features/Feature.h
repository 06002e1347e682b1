#pragma once

#include "launcher/features/SystemMenu.h"
#include "framework/CString.h"

#include <windows.h>

#include <vector>

class CFeatureHost;

// A comfort of the launcher, hosted by its window: it brings its rows of the
// system menu, the messages and timers it owns (ids the host hands it as it
// is made), and what it does at start and at the end. The services it uses
// (the settings, the zoom, the sound, the page, the game) are given to its
// constructor. The features are listed in one place (the launcher's host),
// and a CFeatureList runs them, in the order they are listed:
//
// - BeforeBrowser, OnStart, OnPlaced and OnShown once each, in that order,
//   and OnOptionsRead once after OnStart if the settings are read late; OnEnd
//   once, when the launcher is closed, Windows ends or the window is
//   destroyed, whichever comes first.
// - The window's messages go to OnMessage in the list's order, before the
//   window's own message map. A message that concerns every feature
//   (CFeatureList::IsForEveryFeature: the taskbar made again, a device, the
//   display or a setting changed, the power, Windows ending) reaches every
//   feature and then the window, whatever they answer; when Windows does
//   end, OnEnd follows. Any other message stops at the first feature that
//   takes it (its own timer, its own message): the features after it and
//   the window do not see it.
// - The list keeps four messages for itself and offers them to no
//   feature: WM_INITMENUPOPUP of the system menu (it asks OnMenuOpening of
//   every feature and brings the rows up to date) or of a row's sub-menu
//   (it brings the rows up to date), after which the window goes on as
//   usual; WM_SYSCOMMAND and WM_COMMAND of a row's command (it carries out
//   the row's action, and the command is done); and its own message that a
//   row's key was pressed (it carries out the row's action as the menu
//   would: brought up to date, nothing for a greyed row).
class CFeature
{
public:
    explicit CFeature(CFeatureHost& host) noexcept : m_host(host) {}
    virtual ~CFeature() = default;
    CFeature(const CFeature&) = delete;
    CFeature& operator=(const CFeature&) = delete;

    // Its rows of the system menu, in their order.
    virtual std::vector<CSystemMenu::Row> MenuRows() { return {}; }
    // Before the browser is made (a setting of the browser for the process).
    virtual void BeforeBrowser() {}
    // Once the settings are read, before the first page is asked for: the
    // options apply.
    virtual void OnStart() {}
    // Once the launcher is laid out and has asked for its first page.
    virtual void OnPlaced() {}
    // Once the window has shown and painted itself: what the player cannot
    // see before (keys, sound devices) is done from here.
    virtual void OnShown() {}
    // The settings file, which another program held at start, has been
    // read after all: the options apply as they would have at start (what
    // the player changed since among them).
    virtual void OnOptionsRead() {}
    // The player opens the system menu: what the rows show is asked anew.
    virtual void OnMenuOpening() {}
    // A message to the window: true when it is this feature's, *pResult
    // then being the answer.
    virtual bool OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT* /*pResult*/)
    {
        return false;
    }
    // What is wrong, for the strip's notice line; empty when nothing is.
    virtual CString NoticeText() const { return CString(); }
    // The launcher ends.
    virtual void OnEnd() {}

protected:
    CFeatureHost& Host() const noexcept { return m_host; }

private:
    CFeatureHost& m_host;
};
