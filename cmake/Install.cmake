# Installing like a Linux game: the two programs in bin/, the generated data in
# share/kelvane/ (found by the programs as ../share/kelvane/ beside their folder), and the
# desktop entry, icons, AppStream data and manual page where desktops and man look.
# `cmake --install BUILD --prefix P` (DESTDIR honoured) and `make package` (a .deb).

include(GNUInstallDirs)

install(TARGETS kelvane kelvane-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The generated data exactly: never Data/Ships.dxg, which a game run from the build
# folder writes there (the installed game keeps its own in the player's cache).
set(kelvane_data_dir ${CMAKE_INSTALL_DATADIR}/kelvane)
install(FILES ${CMAKE_BINARY_DIR}/Data/GFX.dxg ${CMAKE_BINARY_DIR}/Data/SFX.dxg ${CMAKE_BINARY_DIR}/Data/Loading.dxg
              ${CMAKE_BINARY_DIR}/Data/Icon.bmp
        DESTINATION ${kelvane_data_dir}/Data)
install(DIRECTORY ${CMAKE_BINARY_DIR}/Data/Ships/ DESTINATION ${kelvane_data_dir}/Data/Ships
        FILES_MATCHING PATTERN "*.ini" PATTERN "*.bmp")
install(DIRECTORY ${CMAKE_BINARY_DIR}/Scripts/ DESTINATION ${kelvane_data_dir}/Scripts)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/kelvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kelvane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kelvane.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelvane)

# make package: a Debian package kelvane_<version>_<arch>.deb. dpkg-shlibdeps finds the
# libraries the two programs link (SDL2, FreeType, Fontconfig, libpng, the C and C++
# runtimes); the font is named by hand, since nothing links it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kelvane maintainers <maintainers@kelvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "top-down space-combat game")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Orvath: Kelvane is a two-dimensional, top-down space-combat game for one player. "
       "Ship types come from data files you can edit and add to; a text console puts up to "
       "eight of them into play, and every ship but yours is flown by the computer.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
set(CPACK_STRIP_FILES ON)
include(CPack)
