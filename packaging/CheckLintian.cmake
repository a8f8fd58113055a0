cmake_minimum_required(VERSION 3.25)
# lintian on the package the fixture built: no error and no warning, and none
# of its hardening notes (they are only informational, but each one is a
# protection the program lost).
file(GLOB debs ${PACKAGE_DIR}/*.deb)
if(NOT debs)
  message(FATAL_ERROR "no package in ${PACKAGE_DIR}")
endif()
execute_process(COMMAND ${LINTIAN} --display-info --pedantic --fail-on error,warning --tag-display-limit 0 ${debs}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lintian reports errors or warnings (exit ${result}) ${err}")
endif()
if(out MATCHES "hardening-[a-z-]+")
  message(FATAL_ERROR "the program is not hardened: ${CMAKE_MATCH_0}")
endif()
