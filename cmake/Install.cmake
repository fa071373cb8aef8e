# Lays the program out for a system: the executable in bin/, its ReadMe.txt
# and map pictures in share/corvane2003/ (where an installed copy looks for
# them), a desktop entry and the icon. Each user's configuration is then kept
# in ~/.config/corvane2003/. A .deb comes from `cpack -G DEB` in the build
# directory.
include(GNUInstallDirs)
# Installing and packaging never build: the test of the install packages a
# tree that is already built, while other tests run from it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

install(TARGETS corvane2003 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/program/ DESTINATION ${CMAKE_INSTALL_DATADIR}/corvane2003)
install(FILES ${CMAKE_SOURCE_DIR}/data/corvane2003.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/icons/corvane2003.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 256)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/corvane2003-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME corvane2003.png)
endforeach()

set(CPACK_PACKAGE_NAME corvane2003)
set(CPACK_PACKAGE_VENDOR "Corvane 2003 developers")
set(CPACK_PACKAGE_CONTACT "Corvane 2003 developers <corvane2003@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "settings editor for Unreal Tournament 2003")
set(CPACK_PACKAGE_DESCRIPTION
    "Shows the values of the game's two profile files, User.ini and UT2003.ini, on tabbed pages and writes them back \
under the game's own section and key names, leaving every other byte as it was. Makes dated backups, starts the game \
(under Wine) with the chosen map and mutators, and edits the files as raw text.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY corvane2003)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The packages of the libraries the executable links (the X11 platform plugin
# comes with libqt6gui6). The game itself runs under Wine.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), \
libqt6network6 (>= 6.4), libjpeg62-turbo, libsodium23")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS wine)
include(CPack)
