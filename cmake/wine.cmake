# Runs the Windows executables under Wine in a private prefix inside the build tree.
set(OKAPI_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix for tests")
set(OKAPI_WINE_RUN "${CMAKE_SOURCE_DIR}/cmake/wine-run.sh")
set(CMAKE_CROSSCOMPILING_EMULATOR "${OKAPI_WINE_RUN};${OKAPI_WINEPREFIX}")

# The prefix must exist before the first test discovery runs Wine.
add_custom_command(
  OUTPUT "${OKAPI_WINEPREFIX}/.okapi-ready"
  COMMAND "${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh" "${OKAPI_WINEPREFIX}"
  DEPENDS "${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh"
  COMMENT "Preparing the Wine prefix"
  VERBATIM)
add_custom_target(wine_prefix DEPENDS "${OKAPI_WINEPREFIX}/.okapi-ready")
