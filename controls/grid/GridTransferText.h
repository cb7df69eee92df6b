// The grid's text as the clipboard and a drag hand it on: UTF-16 with its terminating zero in a
// movable global memory block.
#pragma once

#include "framework/framework.h"

// A block of (length + 1) * 2 bytes holding the text; null when it cannot be allocated or locked.
HGLOBAL GridTextToGlobal(const CString& text);
