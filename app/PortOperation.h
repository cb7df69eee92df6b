// The operation the progress dialog carries out, and the request of a selective delete.
#pragma once

#include <windows.h>

typedef UINT PortOperation;
enum : PortOperation {
    PORTOP_ADD = 1,
    PORTOP_DELETE_SELECTED = 2,
    PORTOP_DELETE_ALL = 3,
};

struct DeletePortRequest {
    UINT count = 0;             // valid entries of comNumbers, 0..256
    UINT comNumbers[256] = {};  // key numbers (the ports' COM numbers) of the selected rows, in their order
};
