# Run as a script (cmake -DFRAMEWORK_DIR=... -DSTAMP=... -P): fails when a
# file of the framework includes anything by a path that climbs out of its
# folder. The framework knows nothing of the program built on it.
file(GLOB files "${FRAMEWORK_DIR}/*.h" "${FRAMEWORK_DIR}/*.cpp")
foreach(file IN LISTS files)
    file(STRINGS "${file}" climbing REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\.[/\\\\]")
    if(climbing)
        message(FATAL_ERROR "${file} includes from outside the framework: ${climbing}")
    endif()
endforeach()
file(TOUCH "${STAMP}")
