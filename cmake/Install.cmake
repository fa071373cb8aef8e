# Lays the program out for a system: the executable in bin/, its ReadMe.txt
# and map pictures in share/corvane2003/ (where an installed copy looks for
# them), a desktop entry, the AppStream metainfo, the icon, the manual page and
# the copyright file and changelog in share/doc/corvane2003/. Each user's
# configuration is then kept in ~/.config/corvane2003/. A .deb comes from
# `cpack -G DEB` in the build directory.
include(GNUInstallDirs)
# Installing and packaging never build: the test of the install packages a
# tree that is already built, while other tests run from it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
# The folders a package holds are rwxr-xr-x whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The id of the desktop entry and the metainfo (the entry was named
# corvane2003.desktop before; the metainfo provides that id too).
set(CORVANE_APP_ID org.example.corvane2003)

# The manual page and the changelog, compressed as Debian ships them (-n: no
# name or time stamp in the file, so a rebuild gives the same bytes).
set(CORVANE_PACKED ${CMAKE_BINARY_DIR}/packed)
set(CORVANE_PACKED_FILES)
foreach(file data/corvane2003.6 cmake/debian/changelog)
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${CORVANE_PACKED}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CORVANE_PACKED}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${file} ${CORVANE_PACKED}/${name}
    COMMAND gzip -9nf ${CORVANE_PACKED}/${name}
    DEPENDS ${CMAKE_SOURCE_DIR}/${file} VERBATIM)
  list(APPEND CORVANE_PACKED_FILES ${CORVANE_PACKED}/${name}.gz)
endforeach()
add_custom_target(packed_docs ALL DEPENDS ${CORVANE_PACKED_FILES})

install(TARGETS corvane2003 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/program/ DESTINATION ${CMAKE_INSTALL_DATADIR}/corvane2003)
install(FILES ${CMAKE_SOURCE_DIR}/data/${CORVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/${CORVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CORVANE_PACKED}/corvane2003.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright ${CORVANE_PACKED}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/corvane2003)
install(FILES ${CMAKE_SOURCE_DIR}/data/icons/corvane2003.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 256)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/corvane2003-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME corvane2003.png)
endforeach()

set(CPACK_PACKAGE_NAME corvane2003)
set(CPACK_PACKAGE_VENDOR "Corvane 2003 developers")
set(CPACK_PACKAGE_CONTACT "Corvane 2003 developers <developers@corvane2003.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://corvane2003.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "settings editor for Unreal Tournament 2003")
# Lines of at most 80 characters, as Debian's package tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "Shows the values of the game's two profile files, User.ini and UT2003.ini,
on tabbed pages and writes them back under the game's own section and key
names, leaving every other byte as it was. Makes dated backups, starts the
game (under Wine or natively) with the chosen map and mutators, and edits the
files as raw text.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY corvane2003)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils) # a tool for a game, not a game: lintian keeps "games" for /usr/games
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The packages of the libraries the executable links (the X11 platform plugin
# comes with libqt6gui6). The game itself runs under Wine.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), \
libqt6network6 (>= 6.4), libjpeg62-turbo, libsodium23")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS wine)
include(CPack)
