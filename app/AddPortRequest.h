// What the add-port dialog asks for and the progress dialog's add workers carry out.
#pragma once

#include <windows.h>

#include "framework/cstring.h"

struct AddPortRequest {
    UINT startCom = 0;        // 1..255: the workers look for free numbers from here
    UINT count = 0;           // 1..32 ports
    UINT ipAddress = 0;       // endpoint address, first octet in the most significant byte
    UINT firstTcpPort = 0;    // network port of the first new port; the i-th gets firstTcpPort + i
    UINT protocol = 0;        // 0 "COM", 1 "Encryption"
    UINT txTriggerLevel = 0;  // 1..255
    CString alias;            // at most 50 characters
    BYTE chosen[256] = {};    // indexed by COM number itself: 1 marks a number counted for the request
};
