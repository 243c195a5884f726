# Installation in the usual places of a desktop program, and a Debian package made by CPack:
#   cmake --install build --prefix /usr/local
#   cd build && cpack            (tonvella_<version>_<arch>.deb)
include(GNUInstallDirs)

set(TONVELLA_APP_ID com.quorvane.Tonvella)
set(TONVELLA_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/desktop)

install(TARGETS tonvella tonvella-check-set RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A teacher's set to copy into ~/.local/share/tonvella/sets (the manual's chapter on own sets).
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/sets/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tonvella/examples/sets)
install(FILES ${TONVELLA_DESKTOP_DIR}/${TONVELLA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TONVELLA_DESKTOP_DIR}/${TONVELLA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The icon theme's folders: hicolor/<size>x<size>/apps and hicolor/scalable/apps.
install(DIRECTORY ${TONVELLA_DESKTOP_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tonvella RENAME copyright)
install(FILES ${CMAKE_SOURCE_DIR}/assets/CREDITS-pictures.md
              ${CMAKE_SOURCE_DIR}/assets/CREDITS-sounds.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tonvella)

set(CPACK_PACKAGE_NAME tonvella)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_CONTACT "Quorvane <tonvella@quorvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "music memory game for two players")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Sixteen cards lie face down on a table in a small 3D room; every card hides a sound and\n"
    "the cards form eight pairs that belong together (the same melody, beat, instrument,\n"
    "tempo, interval, percussion instrument, or exactly the same sound). Two players share\n"
    "one mouse and find the pairs by ear. Texts in German, English and Czech.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tonvella)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the program links (SDL2, GLEW, minizip, libpng, FreeType, Vorbis, zlib,
# OpenGL) become dependencies on the packages that hold them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The manual opens through the desktop's document opener. SDL opens OpenGL at run time, and the
# software driver is only a recommendation of the GL packages: installed without recommends,
# the package still names it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libgl1-mesa-dri")
set(CPACK_STRIP_FILES ON)
include(CPack)

# The installed layout, checked in a temporary prefix.
add_test(NAME install_layout
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/install_test.sh ${CMAKE_BINARY_DIR}
                 ${TONVELLA_APP_ID} ${CMAKE_SOURCE_DIR}/examples/sets)

# The package: dependencies met here, and its program started from its menu entry.
tonvella_display_command(display)
add_test(NAME install_deb
         COMMAND ${display} bash ${CMAKE_SOURCE_DIR}/tests/install/deb_test.sh ${CMAKE_BINARY_DIR}
                 ${TONVELLA_APP_ID} $<TARGET_FILE:xclose>)
set_tests_properties(install_deb PROPERTIES TIMEOUT ${TONVELLA_TEST_TIMEOUT}
                     ENVIRONMENT "${TONVELLA_GAME_PROCESS_ENV};TONVELLA_XSHOT=$<TARGET_FILE:xshot>")
