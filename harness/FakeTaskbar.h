#pragma once

#include "harness/RegisteredClass.h"

#include <shobjidl.h>

#include <utility>
#include <vector>

// The taskbar's list as Windows has it (Wine's only says it cannot): what
// the process tells it of windows that are full screen.
// A COM object goes by Release, never by delete through an interface, whose
// destructor is not virtual by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class FakeTaskbar final : public RegisteredClass, public ITaskbarList2
{
public:
    FakeTaskbar();

    // The windows marked full screen (true) or no longer (false), in turn.
    std::vector<std::pair<HWND, bool>> marks;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;

    // ITaskbarList2, the one object every caller gets
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE HrInit() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AddTab(HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND hWnd, BOOL fFullscreen) override
    {
        marks.emplace_back(hWnd, fFullscreen != FALSE);
        return S_OK;
    }
};
#pragma GCC diagnostic pop
