# The tier check: a core file may include Qt Core only, a doc file Qt Core
# and Qt Gui. Qt's headers are reachable through a common include directory
# ("QtGui/QFont" would compile in the core), so the sources are scanned
# before the library is built and the build stops at an include of a higher
# tier, naming the file and the line.
function(varnel_check_tier target tier)
  set(sources ${ARGN})
  list(FILTER sources INCLUDE REGEX "\\.(cpp|h)$")
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.tiercheck)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DTIER=${tier} -DSTAMP=${stamp} "-DSOURCES=${sources}"
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckTier.cmake
    DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/cmake/CheckTier.cmake
    COMMENT "Checking the includes of the ${tier} tier (${target})"
    VERBATIM)
  add_custom_target(${target}_tiercheck DEPENDS ${stamp})
  add_dependencies(${target} ${target}_tiercheck)
endfunction()
