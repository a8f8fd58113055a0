# The desktop package: `cmake --install` puts the game into a directory of its
# own (<prefix>/lib/tangrix: the program with its help file and music beside
# it, where it looks for them), a launcher link <prefix>/bin/tangrix, the
# desktop entry, the AppStream metainfo and the icon in the hicolor theme.
# `cpack -G DEB` makes a Debian package of the same.

set(TANGRIX_APP_ID org.orvane.Tangrix)
set(tangrix_home lib/tangrix)
set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS tangrix RUNTIME DESTINATION ${tangrix_home})
# The help file and every piece of music the build wrote beside the program.
install(DIRECTORY ${TANGRIX_PROGRAM_DIR}/ DESTINATION ${tangrix_home}
        FILES_MATCHING PATTERN "tngx.chm" PATTERN "*.mid")

# A relative link, so the installed tree can move as a whole. The program
# follows it back to its own directory.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
file(CREATE_LINK ../${tangrix_home}/tangrix ${CMAKE_BINARY_DIR}/packaging/tangrix SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/packaging/tangrix DESTINATION bin)

install(FILES ${packaging_dir}/${TANGRIX_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${packaging_dir}/${TANGRIX_APP_ID}.metainfo.xml DESTINATION share/metainfo)

# The icon as the asset build draws it.
set(icon_dir ${CMAKE_BINARY_DIR}/assets/generated/icon)
foreach(size 16 24 48 64 128 256)
  install(FILES ${icon_dir}/icon-${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME tangrix.png)
endforeach()
install(FILES ${icon_dir}/icon.svg DESTINATION share/icons/hicolor/scalable/apps RENAME tangrix.svg)

# --- Debian package --------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tangrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tile-laying puzzle game")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tangrix developers <tangrix@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_PACKAGE_DESCRIPTION "Take the next tile from the preview box, turn it, and lay it on the 7 x 7
board so that more of its touching quarters match than differ. Cover a
3 x 3 square to win the level. German or English.")
set(CPACK_STRIP_FILES ON)
# The libraries the program links, found by dpkg-shlibdeps; the sound font
# for the background music.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fluid-soundfont-gm")
include(CPack)

# --- checks ------------------------------------------------------------------------
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  add_test(NAME appstream_metainfo
           COMMAND ${APPSTREAMCLI} validate --no-net ${packaging_dir}/${TANGRIX_APP_ID}.metainfo.xml)
  set_tests_properties(appstream_metainfo PROPERTIES LABELS package)
endif()
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  add_test(NAME desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE} ${packaging_dir}/${TANGRIX_APP_ID}.desktop)
  set_tests_properties(desktop_entry PROPERTIES LABELS package)
endif()
add_test(NAME install_layout
         COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DAPP_ID=${TANGRIX_APP_ID}
                 -P ${packaging_dir}/CheckInstall.cmake)
set_tests_properties(install_layout PROPERTIES LABELS package)
