# Installing like a Debian game: the two programs in games/, the generated data in
# share/kelvane/ (found by the programs as ../share/kelvane/ beside their folder), the
# desktop entry, icons, AppStream data and manual pages where desktops and man look, and
# the licence, changelog and lintian overrides where Debian keeps them.
# `cmake --install BUILD --prefix P` (DESTDIR honoured) and `make package` (a .deb).

include(GNUInstallDirs)

# Debian keeps games in /usr/games (and /usr/local/games), both on its users' PATH. Any
# one folder below the prefix works: the data is found from the programs' folder as ../share.
set(KELVANE_INSTALL_GAMESDIR games CACHE STRING
    "Where the programs are installed, relative to the prefix (bin on systems without /usr/games on the PATH)")
install(TARGETS kelvane kelvane-sim RUNTIME DESTINATION ${KELVANE_INSTALL_GAMESDIR})
# A stripped install (the package's) also drops the compiler's .comment and .note
# sections, which no program reads, as Debian's own packaging does.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program kelvane kelvane-sim)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${KELVANE_INSTALL_GAMESDIR}/\${program}\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")

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

# Manual pages and the changelog go in compressed, as Debian has them: gzip -9n keeps no
# name or time inside, so the same text always gives the same bytes. They are made when
# CMake configures (an edit configures again), so the install finds them whatever was built.
find_program(KELVANE_GZIP gzip REQUIRED)
set(kelvane_compressed_dir ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${kelvane_compressed_dir})
function(kelvane_compressed source name out_path)
  set(compressed ${kelvane_compressed_dir}/${name}.gz)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  execute_process(COMMAND ${KELVANE_GZIP} -9n --stdout ${source} OUTPUT_FILE ${compressed}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${source}")
  endif()
  set(${out_path} ${compressed} PARENT_SCOPE)
endfunction()

foreach(page kelvane kelvane-sim)
  kelvane_compressed(${CMAKE_SOURCE_DIR}/packaging/${page}.6 ${page}.6 manual_page)
  install(FILES ${manual_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endforeach()

set(kelvane_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/kelvane)
kelvane_compressed(${CMAKE_SOURCE_DIR}/packaging/changelog changelog changelog)
install(FILES ${changelog} ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_SOURCE_DIR}/README.md
        DESTINATION ${kelvane_doc_dir})
# Texts of the game that lintian would take for mistakes (the override file says which).
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kelvane.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kelvane)

# make package: a Debian package kelvane_<version>_<arch>.deb. dpkg-shlibdeps finds the
# libraries the two programs link (SDL2, FreeType, Fontconfig, libpng, the C and C++
# runtimes); the font is named by hand, since nothing links it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kelvane maintainers <maintainers@kelvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "top-down space-combat game")
# One line of the Description field each, within the 80 columns lintian allows.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Orvath: Kelvane is a two-dimensional, top-down space-combat game for one"
       "player. A text console puts up to eight ships into play: the first one is"
       "yours, and every other ship is flown by the computer and fights the ship"
       "nearest to it."
       ""
       "Beams, pulse shots, homing torpedoes and a shield-breaking tachyon device;"
       "pixel-exact hits, shields, hull, explosions, re-entry and points. Ship types"
       "are plain definition files with a picture, so you can change them and add"
       "your own; kelvane --check says what in them will not work."
       ""
       "Every game is recorded and can be watched again. kelvane-sim plays the game"
       "without a window: scripted battles, pictures, and tournaments that rank the"
       "ship types.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
set(CPACK_STRIP_FILES ON)
include(CPack)
