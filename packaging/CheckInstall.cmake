# Installs the built tree into a scratch prefix and checks that everything a
# desktop needs is where it belongs and that the launcher reaches the program.
set(prefix ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
  lib/tangrix/tangrix
  lib/tangrix/tngx.chm
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml
  share/icons/hicolor/scalable/apps/tangrix.svg)
foreach(size 16 24 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/tangrix.png)
endforeach()
foreach(path ${expected})
  if(NOT EXISTS ${prefix}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

file(GLOB music ${prefix}/lib/tangrix/*.mid)
if(NOT music)
  message(FATAL_ERROR "no music installed beside the program")
endif()
# Nothing but the game's own files beside it: no tests, no build tools.
file(GLOB beside RELATIVE ${prefix}/lib/tangrix ${prefix}/lib/tangrix/*)
foreach(name ${beside})
  if(NOT name STREQUAL "tangrix" AND NOT name STREQUAL "tngx.chm" AND NOT name MATCHES "\\.mid$")
    message(FATAL_ERROR "does not belong beside the program: ${name}")
  endif()
endforeach()

if(NOT IS_SYMLINK ${prefix}/bin/tangrix)
  message(FATAL_ERROR "bin/tangrix is not a link")
endif()
file(REAL_PATH ${prefix}/bin/tangrix target)
file(REAL_PATH ${prefix}/lib/tangrix/tangrix program)
if(NOT target STREQUAL program)
  message(FATAL_ERROR "bin/tangrix leads to ${target}, not to the program")
endif()
file(REMOVE_RECURSE ${prefix})
