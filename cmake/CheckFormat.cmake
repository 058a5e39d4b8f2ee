# The format test: every C++ source of the tree against .clang-format.
#   cmake -DCLANG_FORMAT=<clang-format> -DROOT=<source dir> -P CheckFormat.cmake
# The files are listed here, when the test runs, so a file just added is
# checked without configuring again.
if(NOT CLANG_FORMAT)
    message(FATAL_ERROR "clang-format is missing (scripts/test installs it)")
endif()
file(GLOB_RECURSE sources ${ROOT}/src/*.cpp ${ROOT}/src/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
     ${ROOT}/bench/*.cpp)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "sources that differ from .clang-format: see above (clang-format -i fixes them)")
endif()
