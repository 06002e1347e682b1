# GCC of mingw-w64 for the target the including file names (the posix thread
# model: its libstdc++ has std::mutex, which GoogleTest needs).
include(${CMAKE_CURRENT_LIST_DIR}/windows-common.cmake)

set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)

# A static runtime: the executables need no DLL beyond the system's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
