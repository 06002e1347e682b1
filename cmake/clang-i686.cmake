# Clang and lld for the same 32-bit Windows target as cmake/mingw-i686.cmake,
# on the mingw-w64 headers and libraries and the C++ library of its GCC
# (Debian's clang does not find a GCC whose folder is named "12-posix", so
# the folder is asked of that GCC).
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/windows-common.cmake)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})

execute_process(COMMAND ${TOOLCHAIN_PREFIX}-g++-posix -print-libgcc-file-name
                OUTPUT_VARIABLE ORLIM_LIBGCC OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(ORLIM_GCC_DIR "${ORLIM_LIBGCC}" DIRECTORY)
set(ORLIM_CXX_INCLUDES
    "-isystem ${ORLIM_GCC_DIR}/include/c++ -isystem ${ORLIM_GCC_DIR}/include/c++/${TOOLCHAIN_PREFIX} -isystem ${ORLIM_GCC_DIR}/include/c++/backward")
set(CMAKE_CXX_FLAGS_INIT "${ORLIM_CXX_INCLUDES}")

set(ORLIM_CLANG_LINK "-fuse-ld=lld -L${ORLIM_GCC_DIR}")
# GCC's C++ library here uses the POSIX threads of mingw-w64.
set(CMAKE_EXE_LINKER_FLAGS_INIT "${ORLIM_CLANG_LINK} -static -lpthread")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${ORLIM_CLANG_LINK}")
