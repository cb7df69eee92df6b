#include "framework/controls/tempwrappers.h"

namespace tempwrappers {

TempControls& ThreadTempControls()
{
    thread_local TempControls maps;
    return maps;
}

}  // namespace tempwrappers
