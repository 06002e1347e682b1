# Run by ctest before the tests (see SuiteTests.cmake): once ORLIM_PROGRAM
# or a file of ORLIM_SUITES_MADE_BY is newer than ORLIM_SUITES_FILE, lists
# its suites into that file, each a test that runs the program on that suite
# (the tests of a suite in ORLIM_ALONE, each a test that runs it on that
# test); then adds them.
cmake_policy(SET CMP0057 NEW) # if(... IN_LIST ...)
set(stale FALSE)
foreach(input IN ITEMS "${ORLIM_PROGRAM}" ${ORLIM_SUITES_MADE_BY})
    if("${input}" IS_NEWER_THAN "${ORLIM_SUITES_FILE}") # or the list is not there
        set(stale TRUE)
    endif()
endforeach()
if(stale)
    execute_process(COMMAND ${ORLIM_EMULATOR} "${ORLIM_PROGRAM}" --gtest_list_tests
                    OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result TIMEOUT 120)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${ORLIM_PROGRAM} did not list its tests (${result}):\n${listing}${errors}")
    endif()
    set(tests "")
    string(REPLACE "\n" ";" lines "${listing}")
    foreach(line IN LISTS lines)
        # A suite's line is its name and a dot, unindented; its tests' lines
        # are indented names (a parameterised test's, or a typed suite's,
        # say more after a #).
        set(name "")
        if(line MATCHES "^([^ ]+)\\.( |$)")
            set(suite "${CMAKE_MATCH_1}")
            if(NOT suite IN_LIST ORLIM_ALONE)
                set(name "${suite}")
                set(filter "${suite}.*")
            endif()
        elseif(line MATCHES "^  ([^ ]+)" AND suite IN_LIST ORLIM_ALONE)
            set(name "${suite}.${CMAKE_MATCH_1}")
            set(filter "${name}")
        endif()
        if(NOT name STREQUAL "")
            string(APPEND tests "add_test([==[${name}]==] ${ORLIM_EMULATOR} [==[${ORLIM_PROGRAM}]==] "
                                "[==[--gtest_filter=${filter}]==])\n"
                                "set_tests_properties([==[${name}]==] PROPERTIES ${ORLIM_TEST_PROPERTIES})\n")
        endif()
    endforeach()
    if(tests STREQUAL "")
        message(FATAL_ERROR "${ORLIM_PROGRAM} listed no test:\n${listing}")
    endif()
    file(WRITE "${ORLIM_SUITES_FILE}" "${tests}")
endif()
include("${ORLIM_SUITES_FILE}")
