#pragma once

#include "framework/UniqueHandle.h"

// Owners of what only the tests open.
using UniqueFindHandle = UniqueHandle<HANDLE, InvalidHandleTraits<::FindClose>>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, NullHandleTraits<HGDIOBJ, ::DeleteObject>>;
