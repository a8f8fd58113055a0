cmake_minimum_required(VERSION 3.25)
# Builds the Debian package from the built tree into PACKAGE_DIR, afresh, for
# the tests that check it.
file(REMOVE_RECURSE ${PACKAGE_DIR})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${PACKAGE_DIR}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${out}")
endif()
file(GLOB debs ${PACKAGE_DIR}/*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "cpack made ${count} packages, not one:\n${out}")
endif()
message(STATUS "built ${debs}")
