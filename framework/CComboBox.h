#pragma once

#include "CWnd.h"

// The combo box control. The program sends its messages directly.
class CComboBox : public CWnd
{
public:
    // The current item's index; CB_ERR (-1) when none is current.
    int GetCurSel() const { return static_cast<int>(::SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0)); }
};
