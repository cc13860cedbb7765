// CWhoisApp: the application object; its initialisation runs the main dialog.
#pragma once

#include "framework/WinApp.h"

class CWhoisApp : public CWinApp {
public:
    BOOL InitInstance() override;
};

extern CWhoisApp theApp;
