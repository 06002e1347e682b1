#pragma once

// Static message maps: each class with handlers lists them in a table that
// chains to its base class's table. CWnd::OnWndMsg walks the chain, most
// derived first, and calls the first entry that matches. Each entry carries
// a small thunk that unpacks the message's parameters and calls the member
// handler with its own signature, so no member-pointer casts are needed.

#include <windows.h>

#include "CDC.h"
#include "CPoint.h"

class CWnd; // complete where a map is written (its .cpp includes CWnd.h)

// Beside each entry macro stands the handler's signature, as the thunk calls
// it; a handler of another signature does not compile.

// All WM_CTLCOLOR* messages reach one handler, as the 16-bit message did.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage; // window message; WM_COMMAND for control notifications
    UINT nCode;    // notification code, for WM_COMMAND
    UINT nID;      // control id, for WM_COMMAND
    LRESULT (*pfn)(CWnd* pWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The map macros open and close braces of their own: formatted by hand.
// clang-format off
#define DECLARE_MESSAGE_MAP()                          \
protected:                                             \
    static const AFX_MSGMAP* GetThisMessageMap();      \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                       \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                   \
    {                                                                                 \
        using ThisClass = theClass;                                                   \
        using TheBaseClass = baseClass;                                               \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                        \
    {0, 0, 0, nullptr}};                                                         \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,      \
                                          &_messageEntries[0]};                  \
    return &messageMap;                                                          \
    }

#define AFX_MSG_THUNK(...) [](CWnd* pWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) -> LRESULT { \
    ThisClass* pThis = static_cast<ThisClass*>(pWnd);                                                \
    (void)pThis; (void)nMessage; (void)wParam; (void)lParam;                                         \
    __VA_ARGS__ }

// LRESULT memberFxn(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(message, memberFxn) \
    {message, 0, 0, AFX_MSG_THUNK(return pThis->memberFxn(wParam, lParam);)},

// LRESULT memberFxn(WPARAM wParam, LPARAM lParam), for a message registered
// at run time (RegisterWindowMessage): the variable holds its number before
// the first window is created.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    {nMessageVariable, 0, 0, AFX_MSG_THUNK(return pThis->memberFxn(wParam, lParam);)},

// void memberFxn()
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, static_cast<UINT>(id), AFX_MSG_THUNK(pThis->memberFxn(); return 0;)},

// void memberFxn(), for a control's notification
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), AFX_MSG_THUNK(pThis->memberFxn(); return 0;)},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)

// void OnPaint()
#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, AFX_MSG_THUNK(pThis->OnPaint(); return 0;)},

// void OnClose()
#define ON_WM_CLOSE() \
    {WM_CLOSE, 0, 0, AFX_MSG_THUNK(pThis->OnClose(); return 0;)},

// void OnDestroy()
#define ON_WM_DESTROY() \
    {WM_DESTROY, 0, 0, AFX_MSG_THUNK(pThis->OnDestroy(); return 0;)},

// void OnNcDestroy()
#define ON_WM_NCDESTROY() \
    {WM_NCDESTROY, 0, 0, AFX_MSG_THUNK(pThis->OnNcDestroy(); return 0;)},

// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, AFX_MSG_THUNK(pThis->OnSysCommand(static_cast<UINT>(wParam), lParam); return 0;)},

// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, AFX_MSG_THUNK(pThis->OnTimer(static_cast<UINT_PTR>(wParam)); return 0;)},

// void OnHotKey(UINT nHotKeyId, UINT nKey1, UINT nKey2): the modifiers, the key.
#define ON_WM_HOTKEY() \
    {WM_HOTKEY, 0, 0, AFX_MSG_THUNK(                                                                   \
        pThis->OnHotKey(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;)},

// void OnInitMenuPopup(HMENU hPopupMenu, UINT nIndex, BOOL bSysMenu)
#define ON_WM_INITMENUPOPUP() \
    {WM_INITMENUPOPUP, 0, 0, AFX_MSG_THUNK(                                                            \
        pThis->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;)},

// void OnSize(UINT nType, int cx, int cy): the new client size.
#define ON_WM_SIZE() \
    {WM_SIZE, 0, 0, AFX_MSG_THUNK(                                                                      \
        pThis->OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;)},

// void OnEndSession(BOOL bEnding)
#define ON_WM_ENDSESSION() \
    {WM_ENDSESSION, 0, 0, AFX_MSG_THUNK(pThis->OnEndSession(static_cast<BOOL>(wParam)); return 0;)},

// LRESULT OnNcHitTest(CPoint point): the point in screen coordinates.
#define ON_WM_NCHITTEST()                                                   \
    {WM_NCHITTEST, 0, 0, AFX_MSG_THUNK(                                     \
        return pThis->OnNcHitTest(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));)},

// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor): nCtlColor is the
// CTLCOLOR_* code, the message's offset from WM_CTLCOLORMSGBOX.
#define ON_WM_CTLCOLOR()                                                                   \
    {WM_CTLCOLOR, 0, 0, AFX_MSG_THUNK(                                                     \
        CDC dc(reinterpret_cast<HDC>(wParam));                                             \
        return reinterpret_cast<LRESULT>(pThis->OnCtlColor(                                \
            &dc, CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), nMessage - WM_CTLCOLORMSGBOX));)},
// clang-format on
