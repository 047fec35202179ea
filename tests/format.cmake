# The code is laid out as the project's .clang-format says: every .h and .cpp
# under src/, tests/, tools/ and bench/, checked without changing a file.
#
#   cmake -DROOT=<checkout> -DSTYLE=<.clang-format> -DCLANG_FORMAT=<program>
#         [-DEXPECT=<files>] -P format.cmake
#
# Fails, naming each file that `clang-format -i` would change, unless
# exactly EXPECT such files (0 by default) are found.

foreach(required ROOT STYLE CLANG_FORMAT)
    if(NOT ${required})
        message(FATAL_ERROR "format: ${required} is not given (is clang-format installed?)")
    endif()
endforeach()
if(NOT DEFINED EXPECT)
    set(EXPECT 0)
endif()

file(GLOB_RECURSE sources
     "${ROOT}/src/*.h" "${ROOT}/src/*.cpp" "${ROOT}/tests/*.h" "${ROOT}/tests/*.cpp"
     "${ROOT}/tools/*.h" "${ROOT}/tools/*.cpp" "${ROOT}/bench/*.h" "${ROOT}/bench/*.cpp")
list(SORT sources)
list(LENGTH sources count)
if(count EQUAL 0)
    message(FATAL_ERROR "format: no sources below ${ROOT}")
endif()

# One file at a time, so that each badly laid-out file is named once.
set(offenders "")
foreach(file IN LISTS sources)
    execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror "--style=file:${STYLE}" "${file}"
                    RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE said)
    if(failed)
        file(RELATIVE_PATH shown "${ROOT}" "${file}")
        list(APPEND offenders "${shown}")
        if(EXPECT EQUAL 0)
            message("${said}")
        endif()
    endif()
endforeach()

list(LENGTH offenders found)
if(NOT found EQUAL EXPECT)
    list(JOIN offenders "\n  " named)
    message(FATAL_ERROR "format: ${found} of ${count} files are not laid out as .clang-format says "
                        "(${EXPECT} expected); run clang-format -i on them:\n  ${named}")
endif()
message(STATUS "format: ${count} files checked, ${found} not laid out (${EXPECT} expected)")
