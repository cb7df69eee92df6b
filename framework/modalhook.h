// A seam for tests: run code from inside a modal loop.
//
// The hook is called on the thread's modal loops whenever one of them is idle (its queue is
// empty), with the window that runs the loop. It returns true to be called again as soon as the
// loop has handled what is queued, false to let the loop wait for the next message.
#pragma once

#include <functional>

class CWnd;

using AfxModalIdleHook = std::function<bool(CWnd& modalWnd)>;

// Installs the hook for the calling thread (an empty one removes it); returns the previous hook.
AfxModalIdleHook AfxSetModalIdleHook(AfxModalIdleHook hook);
