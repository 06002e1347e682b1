// The test programs' entry point: GoogleTest's, and a program that has not
// ended some seconds after its last test (a static object's destructor or
// a DLL's detach waiting for something that never comes) ends itself,
// saying so, instead of holding the test run until its time limit; a
// listing of the tests ends as soon as it is written.

#include "framework/UniqueHandle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

namespace
{

const DWORD kEndGraceMs = 20000;

struct Watch
{
    HANDLE hStarted;
    HANDLE hTestsDone;
};

// Started with the program, and running before the first test: a process
// that ends while one of its threads is still starting (a test of a few
// milliseconds) can be brought down under Wine, as by a thread started
// while it ends.
DWORD WINAPI EndProgramLate(void* pWatch)
{
    const Watch watch = *static_cast<const Watch*>(pWatch);
    ::SetEvent(watch.hStarted);
    ::WaitForSingleObject(watch.hTestsDone, INFINITE);
    ::Sleep(kEndGraceMs);
    std::fprintf(stderr, "the test program has not ended %lu s after its last test: ending it\n", kEndGraceMs / 1000);
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), 3);
    return 0;
}

class EndWatch final : public ::testing::EmptyTestEventListener
{
public:
    explicit EndWatch(HANDLE hTestsDone) : m_hTestsDone(hTestsDone) {}

private:
    void OnTestProgramEnd(const ::testing::UnitTest&) override { ::SetEvent(m_hTestsDone); }

    HANDLE m_hTestsDone;
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // They live until the process ends.
    static const UniqueKernelHandle hTestsDone(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const UniqueKernelHandle hStarted(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    Watch watch = {hStarted.Get(), hTestsDone.Get()};
    static const UniqueKernelHandle hWatch(::CreateThread(nullptr, 0, EndProgramLate, &watch, 0, nullptr));
    const HANDLE handles[] = {hStarted.Get(), hWatch.Get()};
    ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    ::testing::UnitTest::GetInstance()->listeners().Append(new EndWatch(hTestsDone.Get())); // the listeners own it
    const int result = RUN_ALL_TESTS();
    // A listing of the tests (how ctest finds them) runs none, so nothing
    // watches its end: it ends here, its list written, before a DLL's detach
    // can hold it past ctest's patience.
    if (GTEST_FLAG_GET(list_tests))
    {
        std::fflush(stdout);
        ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(result));
    }
    return result;
}
