# GoogleTest for the tests and the harness's fixture: Debian's sources when
# they are installed, else an installed package. Without either the tests
# are not built.
if(EXISTS /usr/src/googletest/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
    find_package(GTest)
    if(GTest_FOUND)
        add_library(gtest ALIAS GTest::gtest)
        add_library(gtest_main ALIAS GTest::gtest_main)
    else()
        message(WARNING "GoogleTest not found: the tests are not built")
    endif()
endif()
