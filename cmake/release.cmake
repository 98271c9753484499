# What makes a release build reproducible: one commit gives the same bytes,
# whatever folder it is built in and whenever.
if(MINGW)
  # No source or build folder in the binaries (__FILE__ in assertions, debug
  # information), and no link time in the PE header.
  add_compile_options("-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=" "-ffile-prefix-map=${CMAKE_BINARY_DIR}/=")
  add_link_options(-Wl,--no-insert-timestamp)
endif()

# The project version, which also names the release zip, for tools/release.
file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/version.txt" CONTENT "@PROJECT_VERSION@\n")
