# The fixture builder's executables: a tiny program with a version resource
# per version (and one without), made with the MinGW tools in both builds and
# embedded into the test support library.
find_program(OKAPI_MINGW_CC NAMES x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-gcc REQUIRED)
find_program(OKAPI_MINGW_WINDRES NAMES x86_64-w64-mingw32-windres REQUIRED)

set(fixture_src "${CMAKE_CURRENT_SOURCE_DIR}/support")
set(fixture_out "${CMAKE_CURRENT_BINARY_DIR}/fixture_exes")
file(MAKE_DIRECTORY "${fixture_out}")
set(fixture_link -Os -s -nostdlib -Wl,-e,entry)
set(fixture_inputs)
set(fixture_exes)

foreach(version 3.5.0.0 3.5.2.7 3.0.1.0 3.6.0.0)
  string(REPLACE "." ";" words "${version}")
  list(GET words 0 V1)
  list(GET words 1 V2)
  list(GET words 2 V3)
  list(GET words 3 V4)
  configure_file("${fixture_src}/fixture_version.rc.in" "${fixture_out}/${version}.rc" @ONLY)
  add_custom_command(
    OUTPUT "${fixture_out}/${version}.exe"
    COMMAND "${OKAPI_MINGW_WINDRES}" -O coff -o "${fixture_out}/${version}.res.o"
            "${fixture_out}/${version}.rc"
    COMMAND "${OKAPI_MINGW_CC}" ${fixture_link} "${fixture_src}/fixture_tiny.c"
            "${fixture_out}/${version}.res.o" -o "${fixture_out}/${version}.exe"
    DEPENDS "${fixture_src}/fixture_tiny.c" "${fixture_out}/${version}.rc"
    VERBATIM)
  list(APPEND fixture_inputs "${version}=${fixture_out}/${version}.exe")
  list(APPEND fixture_exes "${fixture_out}/${version}.exe")
endforeach()

add_custom_command(
  OUTPUT "${fixture_out}/none.exe"
  COMMAND "${OKAPI_MINGW_CC}" ${fixture_link} "${fixture_src}/fixture_tiny.c"
          -o "${fixture_out}/none.exe"
  DEPENDS "${fixture_src}/fixture_tiny.c"
  VERBATIM)
list(APPEND fixture_inputs "none=${fixture_out}/none.exe")
list(APPEND fixture_exes "${fixture_out}/none.exe")

list(JOIN fixture_inputs "|" fixture_inputs)
add_custom_command(
  OUTPUT "${fixture_out}/fixture_executables.cpp"
  COMMAND "${CMAKE_COMMAND}" "-DOUTPUT=${fixture_out}/fixture_executables.cpp"
          "-DINPUTS=${fixture_inputs}" -P "${fixture_src}/fixture_embed.cmake"
  DEPENDS ${fixture_exes} "${fixture_src}/fixture_embed.cmake"
  VERBATIM)
target_sources(okapi_test_support PRIVATE "${fixture_out}/fixture_executables.cpp")
