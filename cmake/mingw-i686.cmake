# Cross-compiles for 32-bit x86 Windows, what the launcher is, with
# mingw-w64's GCC.
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-gcc.cmake)
