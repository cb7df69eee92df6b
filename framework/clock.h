// The wall clock in whole seconds (the C runtime's time()), read through one point that a test
// can set, so that behaviour that depends on seconds passing (the grid's type-ahead) can be
// driven without waiting.
#pragma once

#include <functional>

using AfxClock = std::function<long long()>;

// Installs the clock for the whole process (an empty one brings back the C runtime's); returns
// the previous one.
AfxClock AfxSetClock(AfxClock clock);

// Seconds since 1970-01-01 00:00 UTC, from the installed clock.
long long AfxGetTime();
