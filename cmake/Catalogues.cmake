# The languages of the game: every po/LANG.po is compiled with GNU gettext's msgfmt into
# locale/LANG/LC_MESSAGES/kelvane.mo in the build folder, where the programs look for it
# (installed: share/locale/). A new language is a new .po file; nothing here names one.
# msgfmt --check refuses a translation whose places (%s, %1$s) differ from the original's.
find_program(KELVANE_MSGFMT msgfmt REQUIRED)
file(GLOB kelvane_po_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
set(kelvane_mo_files)
foreach(po ${kelvane_po_files})
  get_filename_component(language ${po} NAME_WE)
  set(mo ${CMAKE_BINARY_DIR}/locale/${language}/LC_MESSAGES/kelvane.mo)
  add_custom_command(OUTPUT ${mo}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/locale/${language}/LC_MESSAGES
                     COMMAND ${KELVANE_MSGFMT} --check --output-file=${mo} ${po}
                     DEPENDS ${po}
                     COMMENT "Compiling the ${language} catalogue"
                     VERBATIM)
  list(APPEND kelvane_mo_files ${mo})
endforeach()
add_custom_target(kelvane_catalogues ALL DEPENDS ${kelvane_mo_files})
