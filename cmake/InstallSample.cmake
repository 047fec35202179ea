# Install step: a portable folder gets the sample wall as its data folder at
# its first install. A data folder that exists, even an empty one, is the
# user's: the install never writes into it. ZAVIK_SAMPLE is set before this
# script runs.
set(data "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/zavik-data")
set(resources "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/[Zavik]/sample-wall")

include("${CMAKE_CURRENT_LIST_DIR}/Thumbnails.cmake")
freshen_thumbnails("${resources}")

if(EXISTS "${data}" OR IS_SYMLINK "${data}")
    message(STATUS "Kept: ${data} (the sample wall is in [Zavik]/sample-wall)")
    return()
endif()
# Copied beside it first and then renamed, so that an install that breaks
# off leaves no half data folder behind.
set(partial "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/.zavik-data.partial")
file(REMOVE_RECURSE "${partial}")
file(COPY "${ZAVIK_SAMPLE}/" DESTINATION "${partial}")
freshen_thumbnails("${partial}")
file(RENAME "${partial}" "${data}")
message(STATUS "Sample wall: ${data}")
