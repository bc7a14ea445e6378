# What `cmake --install` lays out and `make package` packs: the program in
# games/ (where Debian keeps games), its read-only data in share/plumix/ (found relative to the program,
# so the installed tree can be moved anywhere), the desktop entry, the
# AppStream metainfo, the icon in the hicolor sizes and the manual page.
include(GNUInstallDirs)

set(PLUMIX_APP_ID org.plumix.Plumix)

if(PLUMIX_BUILD_GUI)
  install(TARGETS plumix RUNTIME DESTINATION games)
endif()
# The data tree the program reads as share/plumix (see settings/game_folders.h).
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/ DESTINATION ${CMAKE_INSTALL_DATADIR}/plumix)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${PLUMIX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${PLUMIX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 22 24 32 48 64 128 256 512)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/${PLUMIX_APP_ID}-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${PLUMIX_APP_ID}.png)
endforeach()
# A desktop scaled by 2 asks the theme's "NxN@2" folders for pictures of 2N pixels.
foreach(size 16 22 24 32 48 64 128 256)
  math(EXPR pixels "${size} * 2")
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/${PLUMIX_APP_ID}-${pixels}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}@2/apps
          RENAME ${PLUMIX_APP_ID}.png)
endforeach()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/${PLUMIX_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages go compressed, without a time stamp, as Debian wants them.
set(PLUMIX_MANPAGE ${CMAKE_BINARY_DIR}/plumix.6.gz)
add_custom_command(OUTPUT ${PLUMIX_MANPAGE}
  COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/plumix.6 > ${PLUMIX_MANPAGE}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/plumix.6 VERBATIM)
add_custom_target(plumix_manpage ALL DEPENDS ${PLUMIX_MANPAGE})
install(FILES ${PLUMIX_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(PLUMIX_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${PLUMIX_CHANGELOG}
  COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/changelog > ${PLUMIX_CHANGELOG}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog VERBATIM)
add_custom_target(plumix_changelog ALL DEPENDS ${PLUMIX_CHANGELOG})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${PLUMIX_CHANGELOG}
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plumix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Plumix developers <developers@plumix.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its platform plug-ins at run time, so the libraries the program
# links do not name them (the picture plug-ins come with the libraries it
# links).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's own texts (the Yes and No of message boxes) in the desktop's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-translations-l10n")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle game with 100 levels")
set(CPACK_PACKAGE_DESCRIPTION "Figures of four blocks fall into a well ten wide and twenty high; move and
turn them so that they fill whole rows, which flash and vanish. Classic
PLUMIX is endless and speeds up as the score grows; PLUMIX 2 plays 100
designed levels with bricks, quotas and survival times, three lives and
bonus rounds. Two hi-score tables, skins and language files of your own.")
set(CPACK_STRIP_FILES ON)
include(CPack)
