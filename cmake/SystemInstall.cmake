# The installed program, as a Debian package holds it: the program under
# <prefix>/lib/zavik/ with its resource folder beside it (read-only; the
# sample wall among the resources), <prefix>/bin/zavik leading to it, and
# the desktop entry, icons, metainfo and manual page where the desktop looks
# for them. Only `cmake --install <build> --component system` installs these;
# a plain install still makes the portable folder.
set(ZAVIK_ID org.zavik.zavik)
set(program lib/zavik)
set(system COMPONENT system EXCLUDE_FROM_ALL)

install(TARGETS zavik RUNTIME DESTINATION ${program} ${system})
install(TARGETS turx RUNTIME DESTINATION "${program}/[Zavik]/TURX" ${system})
install(DIRECTORY resources/ DESTINATION "${program}/[Zavik]" ${system}
        PATTERN ".gitkeep" EXCLUDE)
install(CODE "include(\"${PROJECT_SOURCE_DIR}/cmake/Thumbnails.cmake\")
    freshen_thumbnails(\"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${program}/[Zavik]/sample-wall\")"
        ${system})
# The program derives its folders from its own path, which the kernel gives
# with the link resolved; so a link on the PATH is enough.
install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(CREATE_LINK ../${program}/zavik \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/zavik\"
         SYMBOLIC)" ${system})

install(CODE "execute_process(COMMAND \"${CMAKE_COMMAND}\" -DICON_NAME=${ZAVIK_ID}
    \"-DOUTPUT=\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/${ZAVIK_ID}.desktop\"
    -P \"${PROJECT_SOURCE_DIR}/cmake/DesktopEntry.cmake\" COMMAND_ERROR_IS_FATAL ANY)" ${system})
install(FILES desktop/zavik.svg DESTINATION share/icons/hicolor/scalable/apps
        RENAME ${ZAVIK_ID}.svg ${system})
install(FILES desktop/zavik.png DESTINATION share/icons/hicolor/256x256/apps
        RENAME ${ZAVIK_ID}.png ${system})
install(FILES desktop/${ZAVIK_ID}.metainfo.xml DESTINATION share/metainfo ${system})
install(FILES desktop/sample-wall.png DESTINATION share/zavik/screenshots ${system})
install(FILES desktop/zavik.1 DESTINATION share/man/man1 ${system})
