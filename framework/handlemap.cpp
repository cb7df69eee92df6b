// The handle map: which CWnd object stands for which HWND.
//
// Guarantees:
// - A window has at most one permanent object (Attach refuses a second one), and an object at
//   most one window. The map is shared by all threads of the process and guarded by one lock.
// - FromHandle never returns null for a non-null handle: a window without a permanent object
//   gets a temporary CWnd. Temporary objects live until the loop's idle clean-up finds their
//   window gone, so a pointer from FromHandle stays valid at least while its window exists.
// - Detach forgets the window; the object no longer receives its messages.
#include "framework/wnd.h"

#include <memory>
#include <unordered_map>

namespace {

struct HandleMap {
    SRWLOCK lock = SRWLOCK_INIT;
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
};

HandleMap& Map()
{
    // Never destroyed: windows may still be detached while static objects are torn down.
    static HandleMap* map = new HandleMap;
    return *map;
}

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) : m_lock(lock) { AcquireSRWLockExclusive(&m_lock); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&m_lock); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& m_lock;
};

}  // namespace

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    HandleMap& map = Map();
    ExclusiveLock guard(map.lock);
    auto it = map.permanent.find(hWnd);
    return it == map.permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    HandleMap& map = Map();
    ExclusiveLock guard(map.lock);
    auto it = map.permanent.find(hWnd);
    if (it != map.permanent.end())
        return it->second;
    std::unique_ptr<CWnd>& temp = map.temporary[hWnd];
    if (!temp) {
        temp.reset(new CWnd(hWnd));
        temp->m_nFlags |= WF_TEMPORARY;
    }
    return temp.get();
}

CWnd* AfxWndFromHandle(HWND hWnd)
{
    return CWnd::FromHandle(hWnd);
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == nullptr || m_hWnd != nullptr)
        return FALSE;
    HandleMap& map = Map();
    ExclusiveLock guard(map.lock);
    if (!map.permanent.emplace(hWndNew, this).second)
        return FALSE;  // another object already stands for this window
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr)
        return nullptr;
    if (!(m_nFlags & WF_TEMPORARY)) {
        HandleMap& map = Map();
        ExclusiveLock guard(map.lock);
        auto it = map.permanent.find(hWnd);
        if (it != map.permanent.end() && it->second == this)
            map.permanent.erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

void AfxCleanupTempMap()
{
    HandleMap& map = Map();
    ExclusiveLock guard(map.lock);
    for (auto it = map.temporary.begin(); it != map.temporary.end();) {
        if (!::IsWindow(it->first))
            it = map.temporary.erase(it);
        else
            ++it;
    }
}
