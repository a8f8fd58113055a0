cmake_minimum_required(VERSION 3.25)
# Installs the built tree into a scratch prefix and checks that everything a
# desktop needs is where it belongs: the program in its folder with nothing
# else beside it, its data under share/tangrix, the launcher's command, and
# each file a desktop looks for under the app id.
set(prefix ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
  ${PROGRAM_DIR}/tangrix
  share/tangrix/tngx.chm
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml
  share/icons/hicolor/scalable/apps/${APP_ID}.svg
  share/man/man6/tangrix.6.gz
  share/doc/tangrix/copyright
  share/doc/tangrix/changelog.gz)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(path ${expected})
  if(NOT EXISTS ${prefix}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

# The program alone in its folder (no tests, no build tools, no data); only
# the help file and the music in the data folder.
file(GLOB beside RELATIVE ${prefix}/${PROGRAM_DIR} ${prefix}/${PROGRAM_DIR}/*)
if(NOT beside STREQUAL "tangrix")
  message(FATAL_ERROR "${PROGRAM_DIR}/ holds ${beside}, not the program alone")
endif()
file(GLOB music ${prefix}/share/tangrix/*.mid)
if(NOT music)
  message(FATAL_ERROR "no music installed in share/tangrix")
endif()
file(GLOB data RELATIVE ${prefix}/share/tangrix ${prefix}/share/tangrix/*)
foreach(name ${data})
  if(NOT name STREQUAL "tngx.chm" AND NOT name MATCHES "\\.mid$")
    message(FATAL_ERROR "does not belong to the game's data: share/tangrix/${name}")
  endif()
endforeach()

# Every icon is the size its folder says.
foreach(size 16 22 24 32 48 64 128 256)
  file(READ ${prefix}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png header LIMIT 24 HEX)
  string(SUBSTRING ${header} 32 16 dimensions)
  string(SUBSTRING ${dimensions} 0 8 w)
  string(SUBSTRING ${dimensions} 8 8 h)
  math(EXPR w "0x${w}")
  math(EXPR h "0x${h}")
  if(NOT w EQUAL size OR NOT h EQUAL size)
    message(FATAL_ERROR "the ${size}x${size} icon is ${w}x${h}")
  endif()
endforeach()

# The launcher's command is the installed program's name; the desktop entry's
# name, its icon and the AppStream id are the app id.
file(STRINGS ${prefix}/share/applications/${APP_ID}.desktop entry)
foreach(wanted "Exec=tangrix" "Icon=${APP_ID}" "StartupNotify=true")
  if(NOT wanted IN_LIST entry)
    message(FATAL_ERROR "the desktop entry lacks ${wanted}")
  endif()
endforeach()
file(READ ${prefix}/share/metainfo/${APP_ID}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<id>${APP_ID}</id>" OR NOT metainfo MATCHES "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>")
  message(FATAL_ERROR "the AppStream metainfo does not name ${APP_ID}")
endif()
file(REMOVE_RECURSE ${prefix})
