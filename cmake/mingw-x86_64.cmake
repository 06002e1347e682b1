# Cross-compiles the same sources for 64-bit x86 Windows, with mingw-w64's
# GCC: the tests' build on a machine whose kernel runs no 32-bit program, so
# no 32-bit Wine (the scripts choose it there). What ships stays 32-bit.
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-gcc.cmake)
