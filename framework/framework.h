// The class library: everything the application and the controls include.
#pragma once

#include "framework/types.h"
#include "framework/exceptions.h"
#include "framework/cstring.h"
#include "framework/collections.h"
#include "framework/msgmap.h"
#include "framework/wnd.h"
#include "framework/gdi.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/ddx.h"
#include "framework/fwstrings.h"
#include "framework/modalhook.h"
#include "framework/msgbox.h"
#include "framework/thread.h"
#include "framework/app.h"
