#pragma once

// Static event sink maps: the window that hosts ActiveX controls lists, per
// control id and dispatch id, the parameter types an event carries and the
// member handler that receives it. The control's events reach
// AfxDispatchEvent, which finds the entry, checks and converts the
// arguments and calls the handler.
//
// Parameter types are written as VTS_ strings: one byte per parameter, the
// VARTYPE, with VT_MFCBYREF for a parameter passed by reference. The map
// checks at compile time that the handler takes exactly those types.

#include <windows.h>
#include <oaidl.h>

#include <cstddef>
#include <utility>

class CWnd;

#define VT_MFCBYREF 0x40

#define VTS_BOOL "\x0B"
#define VTS_UI4 "\x13"
#define VTS_BSTR "\x08"
#define VTS_PBOOL "\x4B"
#define VTS_PDISPATCH "\x49"
#define VTS_DISPATCH "\x09"
#define VTS_PVARIANT "\x4C"

// One event argument after conversion to the type the map names.
struct AFX_EVENTPARAM
{
    VARIANT var;         // converted value; for by-reference types, the caller's pointer
    BOOL bValue = FALSE; // what a BOOL* handler parameter points at
};

struct AFX_EVENTSINKMAP_ENTRY
{
    UINT nCtlID;
    UINT nLastCtlID; // the entry serves the controls nCtlID to nLastCtlID
    DISPID dispid;
    const char* pbParamInfo; // VTS_ string
    void (*pfn)(CWnd* pTarget, UINT nCtlID, AFX_EVENTPARAM* pParams);
};

struct AFX_EVENTSINKMAP
{
    const AFX_EVENTSINKMAP* (*pfnGetBaseMap)();
    const AFX_EVENTSINKMAP_ENTRY* lpEntries;
};

// How each handler parameter type is passed and read.
template <class T>
struct AfxEventArg;

template <>
struct AfxEventArg<LPDISPATCH*>
{
    static constexpr char vts = VT_DISPATCH | VT_MFCBYREF;
    static LPDISPATCH* Get(AFX_EVENTPARAM& p) noexcept { return p.var.ppdispVal; }
};

template <>
struct AfxEventArg<LPDISPATCH>
{
    static constexpr char vts = VT_DISPATCH;
    static LPDISPATCH Get(AFX_EVENTPARAM& p) noexcept { return p.var.pdispVal; }
};

template <>
struct AfxEventArg<VARIANT*>
{
    static constexpr char vts = VT_VARIANT | VT_MFCBYREF;
    static VARIANT* Get(AFX_EVENTPARAM& p) noexcept { return p.var.pvarVal; }
};

template <>
struct AfxEventArg<BOOL*>
{
    static constexpr char vts = VT_BOOL | VT_MFCBYREF;
    static BOOL* Get(AFX_EVENTPARAM& p) noexcept { return &p.bValue; }
};

template <>
struct AfxEventArg<BOOL>
{
    static constexpr char vts = VT_BOOL;
    static BOOL Get(AFX_EVENTPARAM& p) noexcept { return p.var.boolVal != VARIANT_FALSE; }
};

template <>
struct AfxEventArg<unsigned long>
{
    static constexpr char vts = VT_UI4;
    static unsigned long Get(AFX_EVENTPARAM& p) noexcept { return p.var.ulVal; }
};

template <>
struct AfxEventArg<BSTR>
{
    static constexpr char vts = VT_BSTR;
    static BSTR Get(AFX_EVENTPARAM& p) noexcept { return p.var.bstrVal; }
};

template <class T, class... Args>
constexpr bool AfxEventHandlerTakes(void (T::*)(Args...), const char* pbParamInfo)
{
    const char types[] = {AfxEventArg<Args>::vts..., 0};
    for (std::size_t i = 0; i < sizeof...(Args) + 1; ++i)
        if (types[i] != pbParamInfo[i])
            return false;
    return true;
}

// A handler of a range of controls takes the control's id first.
template <class T, class... Args>
constexpr bool AfxEventHandlerTakes(void (T::*)(UINT, Args...), const char* pbParamInfo, bool)
{
    return AfxEventHandlerTakes(static_cast<void (T::*)(Args...)>(nullptr), pbParamInfo);
}

template <class T, class... Args, std::size_t... I>
void AfxCallEventHandler(T* pTarget, void (T::*pfn)(Args...), AFX_EVENTPARAM* pParams, std::index_sequence<I...>)
{
    (pTarget->*pfn)(AfxEventArg<Args>::Get(pParams[I])...);
}

template <class T, class... Args>
void AfxCallEventHandler(T* pTarget, void (T::*pfn)(Args...), AFX_EVENTPARAM* pParams)
{
    AfxCallEventHandler(pTarget, pfn, pParams, std::index_sequence_for<Args...>{});
}

template <class T, class... Args, std::size_t... I>
void AfxCallEventRangeHandler(T* pTarget, void (T::*pfn)(UINT, Args...), UINT nCtlID, AFX_EVENTPARAM* pParams,
                              std::index_sequence<I...>)
{
    (pTarget->*pfn)(nCtlID, AfxEventArg<Args>::Get(pParams[I])...);
}

template <class T, class... Args>
void AfxCallEventRangeHandler(T* pTarget, void (T::*pfn)(UINT, Args...), UINT nCtlID, AFX_EVENTPARAM* pParams)
{
    AfxCallEventRangeHandler(pTarget, pfn, nCtlID, pParams, std::index_sequence_for<Args...>{});
}

// Finds the handler of pTarget's event sink map for the event and calls it.
// Returns S_OK when there is none; DISP_E_EXCEPTION, with pExcepInfo filled
// in, when the handler throws (by-reference booleans are then left as the
// control passed them).
HRESULT AfxDispatchEvent(CWnd* pTarget, UINT nCtlID, DISPID dispid, DISPPARAMS* pDispParams, EXCEPINFO* pExcepInfo,
                         UINT* puArgErr) noexcept;

// The map macros open and close braces of their own: formatted by hand.
// clang-format off
#define DECLARE_EVENTSINK_MAP()                          \
protected:                                               \
    static const AFX_EVENTSINKMAP* GetThisEventSinkMap(); \
    const AFX_EVENTSINKMAP* GetEventSinkMap() const override;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                                \
    const AFX_EVENTSINKMAP* theClass::GetEventSinkMap() const { return GetThisEventSinkMap(); } \
    const AFX_EVENTSINKMAP* theClass::GetThisEventSinkMap()                                     \
    {                                                                                           \
        using TheBaseClass = baseClass;                                                         \
        static const AFX_EVENTSINKMAP_ENTRY _eventsinkEntries[] = {

// A class name cannot be parenthesised where it names a member or a cast's type.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams)                                       \
    {static_cast<UINT>(id), static_cast<UINT>(id), dispid, vtsParams,                                \
     [](CWnd* pTarget, UINT, AFX_EVENTPARAM* pParams) {                                              \
         static_assert(AfxEventHandlerTakes(&theClass::pfnHandler, vtsParams),                       \
                       "the handler does not take the listed parameter types");                     \
         AfxCallEventHandler(static_cast<theClass*>(pTarget), &theClass::pfnHandler, pParams);       \
     }},

// The event of any control from idFirst to idLast; the handler takes the
// control's id before the event's parameters.
#define ON_EVENT_RANGE(theClass, idFirst, idLast, dispid, pfnHandler, vtsParams)                     \
    {static_cast<UINT>(idFirst), static_cast<UINT>(idLast), dispid, vtsParams,                       \
     [](CWnd* pTarget, UINT nCtlID, AFX_EVENTPARAM* pParams) {                                       \
         static_assert(AfxEventHandlerTakes(&theClass::pfnHandler, vtsParams, true),                 \
                       "the handler does not take the id and the listed parameter types");          \
         AfxCallEventRangeHandler(static_cast<theClass*>(pTarget), &theClass::pfnHandler, nCtlID, pParams); \
     }},

// NOLINTEND(bugprone-macro-parentheses)

#define END_EVENTSINK_MAP()                                                          \
    {0, 0, 0, nullptr, nullptr}};                                                    \
    static const AFX_EVENTSINKMAP eventsinkMap = {&TheBaseClass::GetThisEventSinkMap, \
                                                  &_eventsinkEntries[0]};            \
    return &eventsinkMap;                                                            \
    }
// clang-format on
