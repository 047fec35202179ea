# The house rule, checked on every #include under src/ and tools/: a folder
# includes only from its own floor or below, the folders of the fifth floor
# do not include each other, and the programs under tools/ include nothing
# from src/.
#
#   cmake -DROOT=<checkout> [-DEXPECT=<offences>] -P layering.cmake
#
# Fails, naming each file and include, unless exactly EXPECT offences (0 by
# default) are found.

# Folder and rank. The first floor is three folders, storage below platform
# below pictures; folders of one rank (the fifth floor) stay apart.
set(floors
    storage 10
    platform 11
    pictures 12
    model 20
    document 25
    cards 30
    drawing 50
    web 50
    dialogs 50
    pageeditor 50
    reports 50
    app 60)

if(NOT DEFINED ROOT)
    message(FATAL_ERROR "layering: give the checkout as -DROOT=<folder>")
endif()
get_filename_component(ROOT "${ROOT}" ABSOLUTE)
if(NOT DEFINED EXPECT)
    set(EXPECT 0)
endif()

function(rank_of folder out)
    list(FIND floors "${folder}" at)
    if(at EQUAL -1)
        set(${out} "" PARENT_SCOPE)
    else()
        math(EXPR next "${at} + 1")
        list(GET floors ${next} rank)
        set(${out} ${rank} PARENT_SCOPE)
    endif()
endfunction()

set(offences "")

file(GLOB_RECURSE sources RELATIVE "${ROOT}"
     "${ROOT}/src/*.h" "${ROOT}/src/*.cpp" "${ROOT}/tools/*.h" "${ROOT}/tools/*.cpp")
list(SORT sources)
foreach(file IN LISTS sources)
    string(REPLACE "/" ";" parts "${file}")
    list(LENGTH parts depth)
    list(GET parts 0 top)
    set(own "")
    set(own_rank "")
    if(top STREQUAL "src" AND depth GREATER 2)
        list(GET parts 1 own)
        rank_of("${own}" own_rank)
        if(own_rank STREQUAL "")
            list(APPEND offences "${file}: its folder src/${own}/ has no floor")
            continue()
        endif()
    endif()

    file(STRINGS "${ROOT}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" included "${line}")
        string(REPLACE "/" ";" target_parts "${included}")
        list(LENGTH target_parts target_depth)
        if(included MATCHES "(^|/)\\.\\.(/|$)")
            list(APPEND offences "${file}: includes \"${included}\" (climbs out of its folder)")
            continue()
        endif()
        if(target_depth LESS 2)
            continue() # a header beside the file
        endif()
        list(GET target_parts 0 target)
        rank_of("${target}" target_rank)

        if(top STREQUAL "tools")
            if(NOT target_rank STREQUAL "" OR target STREQUAL "src")
                list(APPEND offences "${file}: includes \"${included}\" (a tool reaches into src/)")
            endif()
            continue()
        endif()
        if(own STREQUAL "" OR target_rank STREQUAL "" OR target STREQUAL own)
            continue() # main.cpp may use every floor; Qt and system headers are no floor
        endif()
        if(target_rank GREATER own_rank)
            list(APPEND offences "${file}: includes \"${included}\" (${target}/ is above ${own}/)")
        elseif(target_rank EQUAL own_rank)
            list(APPEND offences
                 "${file}: includes \"${included}\" (${target}/ and ${own}/ are siblings)")
        endif()
    endforeach()
endforeach()

list(LENGTH offences count)
foreach(offence IN LISTS offences)
    message("${offence}")
endforeach()
message("layering: ${count} include(s) against the floors in ${ROOT}")
if(NOT count EQUAL EXPECT)
    message(FATAL_ERROR "layering: expected ${EXPECT}, found ${count}")
endif()
