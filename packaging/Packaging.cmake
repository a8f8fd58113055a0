# The desktop package. `cmake --install` lays the game out as the system's
# games are: the program in <prefix>/games, its data (help file, music) in
# <prefix>/share/tangrix, where the program finds it from its own place; the
# desktop entry, the AppStream metainfo and the icon under the app id; the
# manual page; the licence and the history in <prefix>/share/doc/tangrix.
# `cpack -G DEB` makes a Debian package of the same.

set(TANGRIX_APP_ID org.orvane.Tangrix)
set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)

# The program looks for its data one level up, in share/tangrix: the program's
# folder must be one level below the prefix. bin suits a prefix such as
# ~/.local, whose bin is on the player's PATH.
set(TANGRIX_INSTALL_PROGRAM_DIR games CACHE STRING "Folder of the installed program under the prefix: games or bin")
set_property(CACHE TANGRIX_INSTALL_PROGRAM_DIR PROPERTY STRINGS games bin)
if(NOT TANGRIX_INSTALL_PROGRAM_DIR MATCHES "^(games|bin)$")
  message(FATAL_ERROR "TANGRIX_INSTALL_PROGRAM_DIR must be games or bin, not ${TANGRIX_INSTALL_PROGRAM_DIR}")
endif()
set(tangrix_data share/tangrix)
set(tangrix_doc share/doc/tangrix)

install(TARGETS tangrix RUNTIME DESTINATION ${TANGRIX_INSTALL_PROGRAM_DIR})
# A stripped install (the package's) also drops the compiler's notes, as
# Debian's own packages do.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TANGRIX_INSTALL_PROGRAM_DIR}/tangrix\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()")
# The help file and every piece of music the build wrote beside the program.
install(DIRECTORY ${TANGRIX_PROGRAM_DIR}/ DESTINATION ${tangrix_data}
        FILES_MATCHING PATTERN "tngx.chm" PATTERN "*.mid")

install(FILES ${packaging_dir}/${TANGRIX_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${packaging_dir}/${TANGRIX_APP_ID}.metainfo.xml DESTINATION share/metainfo)

# The icon as the asset build draws it, named after the app id, so that the
# desktop entry, the AppStream data and the running window name one icon.
set(icon_dir ${CMAKE_BINARY_DIR}/assets/generated/icon)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${icon_dir}/icon-${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
          RENAME ${TANGRIX_APP_ID}.png)
endforeach()
install(FILES ${icon_dir}/icon.svg DESTINATION share/icons/hicolor/scalable/apps RENAME ${TANGRIX_APP_ID}.svg)

# The history and the manual page, compressed as Debian wants them: the
# highest level, and no name or time stamp, so that every build is the same.
# The history's newest entry must be this version.
file(STRINGS ${packaging_dir}/changelog newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^tangrix \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog: the newest entry is not version ${PROJECT_VERSION}: ${newest}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${packaging_dir}/changelog)
find_program(GZIP gzip REQUIRED)
set(compressed)
foreach(name changelog tangrix.6)
  add_custom_command(
    OUTPUT ${packaging_out}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${packaging_dir}/${name} ${packaging_out}/${name}
    COMMAND ${GZIP} -9nf ${packaging_out}/${name}
    DEPENDS ${packaging_dir}/${name}
    VERBATIM)
  list(APPEND compressed ${packaging_out}/${name}.gz)
endforeach()
add_custom_target(tangrix_package_docs ALL DEPENDS ${compressed})
install(FILES ${packaging_out}/changelog.gz ${packaging_dir}/copyright DESTINATION ${tangrix_doc})
install(FILES ${packaging_out}/tangrix.6.gz DESTINATION share/man/man6)

# --- Debian package --------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tangrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tile-laying puzzle game")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tangrix developers <tangrix@orvane.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION "Take the next tile from the preview box, turn it, and lay it on the 7 x 7
board so that more of its touching quarters match than differ. Cover a
3 x 3 square to win the level. German or English.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The libraries the program links, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program opens at run time, which shlibdeps cannot see. Each is
# recommended: without it the game still plays.
# - FluidSynth synthesises the music; without it the game says so and plays
#   without music.
# - A General MIDI sound font; without one the game says so, as above. The
#   small TimGM6mb plays the pieces well at about two thirds of the memory
#   FluidR3 takes (FluidSynth's own dependencies name it first as well); any
#   other General MIDI font will do, and a fuller one the player installs is
#   taken through the system's default font.
# - The fonts the windows are laid out with (Arial's metrics and Liberation
#   Sans); another font may overrun a caption.
# - Qt's Wayland platform, so that a Wayland desktop runs the game natively
#   rather than through Xwayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libfluidsynth3, timgm6mb-soundfont | sf2-soundfont-gm | sf3-soundfont-gm, fonts-liberation2, qt6-wayland")
include(CPack)

# --- checks ------------------------------------------------------------------------
# A checker that is missing fails a CI build rather than leaving its test out.
function(tangrix_find_checker variable program debian_package)
  find_program(${variable} ${program})
  if(NOT ${variable})
    if(DEFINED ENV{CI})
      message(FATAL_ERROR "${program} missing (Debian package ${debian_package}; run tools/setup-debian.sh)")
    endif()
    message(WARNING "package checks with ${program} left out: install ${debian_package} (tools/setup-debian.sh)")
  endif()
endfunction()

tangrix_find_checker(APPSTREAMCLI appstreamcli appstream)
if(APPSTREAMCLI)
  add_test(NAME appstream_metainfo
           COMMAND ${APPSTREAMCLI} validate --no-net ${packaging_dir}/${TANGRIX_APP_ID}.metainfo.xml)
  set_tests_properties(appstream_metainfo PROPERTIES LABELS package)
endif()
tangrix_find_checker(DESKTOP_FILE_VALIDATE desktop-file-validate desktop-file-utils)
if(DESKTOP_FILE_VALIDATE)
  add_test(NAME desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE} ${packaging_dir}/${TANGRIX_APP_ID}.desktop)
  set_tests_properties(desktop_entry PROPERTIES LABELS package)
endif()
add_test(NAME install_layout
         COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DAPP_ID=${TANGRIX_APP_ID}
                 -DPROGRAM_DIR=${TANGRIX_INSTALL_PROGRAM_DIR} -P ${packaging_dir}/CheckInstall.cmake)
set_tests_properties(install_layout PROPERTIES LABELS package)

# The Debian package, built once for the tests that check it: lintian here,
# the installed game in tests/e2e (test_package).
add_test(NAME package_deb
         COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                 -DPACKAGE_DIR=${TANGRIX_PACKAGE_TEST_DIR} -P ${packaging_dir}/BuildPackage.cmake)
set_tests_properties(package_deb PROPERTIES LABELS package FIXTURES_SETUP tangrix_deb)
tangrix_find_checker(LINTIAN lintian lintian)
if(LINTIAN)
  add_test(NAME package_lintian
           COMMAND ${CMAKE_COMMAND} -DLINTIAN=${LINTIAN} -DPACKAGE_DIR=${TANGRIX_PACKAGE_TEST_DIR}
                   -P ${packaging_dir}/CheckLintian.cmake)
  set_tests_properties(package_lintian PROPERTIES LABELS package FIXTURES_REQUIRED tangrix_deb TIMEOUT 600)
endif()
