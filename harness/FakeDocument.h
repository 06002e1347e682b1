#pragma once

#include "framework/ComPtr.h"

#include <oaidl.h>

#include <map>
#include <string>
#include <vector>

// A page's document as a script reads it through IDispatch, for what Wine's
// control cannot show (it has no HTML engine): elements found by tag, their
// attributes, and a frame's own document where the page may look inside.
struct FakeElement
{
    std::wstring tag;
    std::map<std::wstring, std::wstring> attributes;
    // A frame's document, when the page may reach into it.
    std::vector<FakeElement> inner;
    bool bInnerReachable = false;
};

ComPtr<IDispatch> MakeFakeDocument(const std::vector<FakeElement>& elements);
