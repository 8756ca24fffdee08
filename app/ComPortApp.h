// The application object: runs the main dialog modally and lets the process end when it closes.
#pragma once

#include "framework/Afx.h"

class CComPortApp : public CWinApp {
public:
    BOOL InitInstance() override;
    bool OnCmdMsg(UINT id) override;
};

extern CComPortApp theApp;
