// The test programs' entry point: GoogleTest's, ended as soon as the tests
// (or their listing) are done and what they printed is written. What ending
// would do after that (static objects' destructors, the DLLs' detach) tests
// nothing, and under Wine a DLL's detach has held a program whose tests had
// all passed until ctest's time limit, after the threads that could have
// ended it were gone.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::fflush(nullptr);
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
