// The application object: one instance per desktop, running the main dialog.
#pragma once

#include "framework/framework.h"

class CSVT_SarventoCtlApp : public CWinApp {
public:
    // Guards against a second instance, then runs the main dialog modally. Always FALSE: the
    // program ends when the main dialog does, without a message loop of its own.
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CSVT_SarventoCtlApp theApp;
