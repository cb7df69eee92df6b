// Worker threads: running, joining at exit, and the critical section.
#include "framework/framework.h"
#include "tests/support/WaitFor.h"

#include <gtest/gtest.h>

namespace {

UINT __cdecl AddOne(LPVOID pParam)
{
    auto* value = static_cast<volatile LONG*>(pParam);
    ::InterlockedIncrement(value);
    return 17;
}

TEST(Thread, AKeptThreadCanBeJoinedAndGivesItsExitCode)
{
    volatile LONG value = 0;
    CWinThread* pThread =
        AfxBeginThread(AddOne, const_cast<LONG*>(&value), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;
    EXPECT_EQ(value, 0) << "a suspended thread has not run";
    pThread->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    ASSERT_TRUE(::GetExitCodeThread(pThread->m_hThread, &code));
    EXPECT_EQ(code, 17u);
    EXPECT_EQ(value, 1);
    delete pThread;
}

TEST(Thread, AnAutoDeletingThreadRunsToTheEnd)
{
    volatile LONG value = 0;
    ASSERT_NE(AfxBeginThread(AddOne, const_cast<LONG*>(&value)), nullptr);
    EXPECT_TRUE(uitest::WaitFor([&] { return value != 0; }));
    EXPECT_EQ(value, 1);
}

struct Shared {
    CCriticalSection lock;
    int counter = 0;
    bool overlapped = false;
    bool inside = false;
};

UINT __cdecl Increment(LPVOID pParam)
{
    auto* shared = static_cast<Shared*>(pParam);
    for (int i = 0; i < 2000; ++i) {
        CSingleLock lock(&shared->lock, TRUE);
        if (shared->inside)
            shared->overlapped = true;
        shared->inside = true;
        const int seen = shared->counter;
        ::SwitchToThread();
        shared->counter = seen + 1;
        shared->inside = false;
    }
    return 0;
}

TEST(Thread, TheCriticalSectionLetsOneThreadInAtATime)
{
    Shared shared;
    CWinThread* threads[2];
    for (CWinThread*& t : threads) {
        t = AfxBeginThread(Increment, &shared, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        ASSERT_NE(t, nullptr);
        t->m_bAutoDelete = FALSE;
    }
    for (CWinThread* t : threads)
        t->ResumeThread();
    for (CWinThread* t : threads) {
        EXPECT_EQ(::WaitForSingleObject(t->m_hThread, 20000), WAIT_OBJECT_0);
        delete t;
    }
    EXPECT_EQ(shared.counter, 4000);
    EXPECT_FALSE(shared.overlapped);
}

}  // namespace
