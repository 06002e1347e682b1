#pragma once

#include "framework/CWinApp.h"

// The application: runs the launcher dialog.
class COrlimWebApp : public CWinApp
{
public:
    COrlimWebApp() noexcept;
    ~COrlimWebApp() override;

    BOOL InitInstance() override;
};

extern COrlimWebApp theApp;
