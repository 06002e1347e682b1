# Each suite of a GoogleTest program is one test of ctest's, run in a process
# of its own (--gtest_filter=Suite.*): a process for each test cost Wine a
# quarter of a second of processor each, a third of a test pass. The tests of
# a suite named ALONE still run a process each. A program that Wine ends
# before it runs is started once more (scripts/start-test-program.sh).
# Before it runs the tests, ctest has the program list them, again only once
# the program, or how the list is made, is newer than that list (made by
# cmake/ListSuites.cmake).
#   orlim_add_suites(TARGET [ALONE SUITE...] PROPERTIES [PROPERTY VALUE]...)
set(ORLIM_LIST_SUITES ${CMAKE_CURRENT_LIST_DIR}/ListSuites.cmake)
function(orlim_add_suites target)
    cmake_parse_arguments(ARG "" "" "ALONE;PROPERTIES" ${ARGN})
    set(list_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake")
    set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake")
    set(emulator "")
    if(CMAKE_CROSSCOMPILING_EMULATOR)
        set(emulator sh ${CMAKE_SOURCE_DIR}/scripts/start-test-program.sh ${CMAKE_CROSSCOMPILING_EMULATOR})
    endif()
    file(GENERATE OUTPUT "${include_file}" CONTENT
"set(ORLIM_PROGRAM [==[$<TARGET_FILE:${target}>]==])
set(ORLIM_EMULATOR [==[${emulator}]==])
set(ORLIM_SUITES_FILE [==[${list_file}]==])
set(ORLIM_SUITES_MADE_BY [==[${include_file};${ORLIM_LIST_SUITES}]==])
set(ORLIM_ALONE [==[${ARG_ALONE}]==])
set(ORLIM_TEST_PROPERTIES [==[${ARG_PROPERTIES}]==])
include([==[${ORLIM_LIST_SUITES}]==])
")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()
