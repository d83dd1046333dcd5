#pragma once

#include "platform/ui/WinApp.h"

// The application: its start-up routine loads the settings, writes them back at
// once and runs the main window; the program ends when the main window does.
class CCirrovanApp : public CWinApp
{
public:
    CCirrovanApp();

    // Returns false: there is no message loop after the main window.
    bool InitInstance() override;
};
