# Runs the Windows executables under Wine in a private prefix inside the build tree.
set(OKAPI_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix for tests")
set(OKAPI_WINE_ROOT "" CACHE PATH "A root with 32-bit Wine to run the programs in (empty: this machine's Wine)")
set(OKAPI_WINE_RUN "${CMAKE_SOURCE_DIR}/cmake/wine-run.sh")
set(OKAPI_WINE_ENV env "OKAPI_WINE_ROOT=${OKAPI_WINE_ROOT}")
set(CMAKE_CROSSCOMPILING_EMULATOR ${OKAPI_WINE_ENV} "${OKAPI_WINE_RUN}" "${OKAPI_WINEPREFIX}")

# The prefix must exist before the first test discovery runs Wine.
add_custom_command(
  OUTPUT "${OKAPI_WINEPREFIX}/.okapi-ready"
  COMMAND ${OKAPI_WINE_ENV} "${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh" "${OKAPI_WINEPREFIX}"
  DEPENDS "${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh"
  COMMENT "Preparing the Wine prefix"
  VERBATIM)
add_custom_target(wine_prefix DEPENDS "${OKAPI_WINEPREFIX}/.okapi-ready")
