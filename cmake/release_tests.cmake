# Tests of the release and of the installer examples. Included from
# cmake/tests.cmake.

if(NOT WIN32)
  # Two release builds give the same bytes; a signed release verifies, and its
  # exe still runs under Wine.
  add_test(NAME zqmv5_release_reproducible COMMAND "${CMAKE_SOURCE_DIR}/tests/release/reproducible.sh")
  # Signing runs beside the Wine tests; only the signed exe's run waits for them.
  set(signed_dir "${CMAKE_BINARY_DIR}/release-signed")
  add_test(NAME zqmv5_release_signed
           COMMAND "${CMAKE_SOURCE_DIR}/tests/release/signed.sh" sign "${signed_dir}")
  add_test(NAME zqmv5_release_signed_runs
           COMMAND "${CMAKE_SOURCE_DIR}/tests/release/signed.sh" run "${signed_dir}")
  set_tests_properties(zqmv5_release_reproducible zqmv5_release_signed PROPERTIES TIMEOUT 600)
  set_tests_properties(zqmv5_release_signed PROPERTIES FIXTURES_SETUP signed_release)
  set_tests_properties(zqmv5_release_signed_runs PROPERTIES FIXTURES_REQUIRED signed_release
                       RESOURCE_LOCK wine TIMEOUT 120 SKIP_RETURN_CODE 77)
else()
  # The examples as users copy them, beside the black-box tests that run them:
  # the NSIS example built into an installer (a 64-bit one in a 64-bit tree),
  # and the build step's batch file.
  find_program(ZQMV5_MAKENSIS makensis)
  set(example_setup "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/example_addon_setup.exe")
  set(nsis_target "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(nsis_target "-XTarget amd64-unicode")
  endif()
  if(ZQMV5_MAKENSIS)
    add_custom_command(
        OUTPUT "${example_setup}"
        COMMAND "${ZQMV5_MAKENSIS}" -V2 ${nsis_target} "-DZQMV5_EXE=$<TARGET_FILE:ZQMV5>"
                "-DOUTFILE=${example_setup}" example_addon.nsi
        WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}/examples/nsis"
        DEPENDS ZQMV5 examples/nsis/example_addon.nsi examples/nsis/ExampleAddon.tpw
                examples/nsis/ReadMe.txt
        VERBATIM)
    add_custom_target(example_addon_setup DEPENDS "${example_setup}")
    add_dependencies(zqmv5_blackbox_tests example_addon_setup)
  else()
    message(WARNING "makensis not found: the installer example's test fails (tools/ensure-deps installs nsis)")
  endif()
  configure_file(examples/build-step/next_version.cmd
                 "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/next_version.cmd" COPYONLY)
  target_sources(zqmv5_blackbox_tests PRIVATE tests/blackbox/examples_test.cpp)
endif()
