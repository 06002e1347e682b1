#pragma once

#include "CWnd.h"

// The combo box control. The program sends its messages directly.
class CComboBox : public CWnd
{
};
