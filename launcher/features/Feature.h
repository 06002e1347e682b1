#pragma once

#include "launcher/features/SystemMenu.h"
#include "framework/CString.h"

#include <windows.h>

#include <vector>

class CFeatureHost;

// A comfort of the launcher, hosted by its window: it brings its rows of
// the system menu, the messages and timers it owns, its "[options]" keys
// (through the host), and what it does at start and at the end. The host
// asks the features in the order they are listed (CFeatures.cpp).
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
    // The launcher ends: closed, Windows ending, or its window destroyed.
    virtual void OnEnd() {}

protected:
    CFeatureHost& Host() const noexcept { return m_host; }

private:
    CFeatureHost& m_host;
};
