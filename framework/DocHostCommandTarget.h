#pragma once

#include <windows.h>
#include <docobj.h>

// What a host of the web browser control answers to the commands its pages
// send up, the same from the container and from a site: script errors are
// never shown to the player, and the page's scripts go on running; every
// other command is left to the control's own handling.
// A COM object goes by Release, never by delete through an interface, whose
// destructor is not virtual by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class DocHostCommandTarget : public IOleCommandTarget
{
public:
    HRESULT STDMETHODCALLTYPE QueryStatus(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[],
                                          OLECMDTEXT* pCmdText) noexcept override;
    HRESULT STDMETHODCALLTYPE Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
                                   VARIANT* pvaOut) noexcept override;
};
#pragma GCC diagnostic pop
