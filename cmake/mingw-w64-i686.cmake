# The shipped 32-bit build: the same toolchain for i686.
set(OKAPI_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
