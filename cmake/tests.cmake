# Test targets. Included from the top CMakeLists.txt when GoogleTest is there.

# Unit tests of the logic over the fake Env, and the contract tests that the
# fake and the Win32 Env both keep.
set(ZQMV5_UNIT_TEST_SOURCES
    src/app/dispatch_test.cpp
    src/cmdline/command_context_test.cpp
    src/cmdline/discovery_test.cpp
    src/commands/include_command_test.cpp
    src/commands/lib_src_command_test.cpp
    src/commands/reg_command_test.cpp
    src/commands/un_include_command_test.cpp
    src/commands/un_user_menu_command_test.cpp
    src/commands/user_menu_command_test.cpp
    src/commands/version_command_test.cpp
    src/dde/dde_connection_test.cpp
    src/env/program_test.cpp
    src/testing/fake_env_test.cpp
    src/text/ini_text_test.cpp
    src/text/line_file_test.cpp
    src/text/version_record_test.cpp
    src/version/version_window_test.cpp)
set(ZQMV5_FAKE_SOURCES src/testing/fake_env.cpp src/testing/fake_version_view.cpp)
set(ZQMV5_CONTRACT_SOURCES src/testing/env_contract.cpp)
set(ZQMV5_WIN32_TEST_SOURCES src/win32/dde_win32_test.cpp src/win32/env_win32_test.cpp)

# Every test source must be in a test program: a *_test.cpp missing from the
# lists above would silently never run.
file(GLOB_RECURSE ZQMV5_ALL_TEST_FILES CONFIGURE_DEPENDS RELATIVE "${CMAKE_SOURCE_DIR}"
     "${CMAKE_SOURCE_DIR}/src/*_test.cpp")
foreach(test_file ${ZQMV5_ALL_TEST_FILES})
  if(NOT test_file IN_LIST ZQMV5_UNIT_TEST_SOURCES AND NOT test_file IN_LIST ZQMV5_WIN32_TEST_SOURCES)
    message(FATAL_ERROR "${test_file} is in no test program")
  endif()
endforeach()

if(NOT WIN32)
  # One build of the core, under AddressSanitizer and UndefinedBehaviorSanitizer
  # and with the coverage that guides the fuzzer, serves the unit tests and the
  # tokenizer's fuzz target alike.
  # The flags go to the core and to each test program that links it, not
  # through the core to whatever else might link it.
  set(ZQMV5_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all
                       -fno-omit-frame-pointer)
  target_compile_options(zqmv5_core PRIVATE ${ZQMV5_SANITIZERS})
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(zqmv5_core PRIVATE -fsanitize=fuzzer-no-link)
  endif()

  add_executable(zqmv5_unit_tests ${ZQMV5_UNIT_TEST_SOURCES} ${ZQMV5_FAKE_SOURCES}
                                  ${ZQMV5_CONTRACT_SOURCES})
  target_link_libraries(zqmv5_unit_tests PRIVATE zqmv5_core gtest gtest_main)
  target_compile_options(zqmv5_unit_tests PRIVATE ${ZQMV5_SANITIZERS})
  target_link_options(zqmv5_unit_tests PRIVATE ${ZQMV5_SANITIZERS})
  add_test(NAME zqmv5_unit_tests COMMAND zqmv5_unit_tests --gtest_brief=1)

  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_executable(tokenize_fuzz src/cmdline/tokenize_fuzz.cpp)
    target_link_libraries(tokenize_fuzz PRIVATE zqmv5_core)
    target_compile_options(tokenize_fuzz PRIVATE ${ZQMV5_SANITIZERS})
    target_link_options(tokenize_fuzz PRIVATE ${ZQMV5_SANITIZERS} -fsanitize=fuzzer)
    add_test(NAME tokenize_fuzz
             COMMAND tokenize_fuzz -max_total_time=20 -rss_limit_mb=2048 -print_final_stats=1)
  endif()

  # The Wine layers, from the MinGW build trees, run under Wine and Xvfb; and
  # the shape of the built program itself. ZQMV5_WINE_BUILD_DIR is the 32-bit
  # tree, ZQMV5_WINE64_BUILD_DIR the 64-bit one (its tests end in _64). A test
  # whose program cannot run on this host ends with 77, which CTest shows as
  # skipped; tools/wine-exec prints the reason.
  set(ZQMV5_WINE64_BUILD_DIR "" CACHE PATH
      "Build tree of the mingw64 preset whose Wine tests this native tree also runs")
  if(ZQMV5_WINE_BUILD_DIR)
    add_test(NAME zqmv5_exe_shape
             COMMAND "${CMAKE_SOURCE_DIR}/tools/check-exe" "${ZQMV5_WINE_BUILD_DIR}/bin/ZQMV5.exe")
  endif()
  # localedef makes the Japanese locale in the build tree from the locales
  # package's sources, so that the machine's own locales stay as they are.
  set(ZQMV5_LOCALES "${CMAKE_BINARY_DIR}/locale")
  add_test(NAME zqmv5_japanese_locale
           COMMAND sh -c "mkdir -p '${ZQMV5_LOCALES}' && localedef -i ja_JP -f UTF-8 '${ZQMV5_LOCALES}/ja_JP.UTF-8'")
  set_tests_properties(zqmv5_japanese_locale PROPERTIES FIXTURES_SETUP japanese_locale)
  foreach(road "" _64)
    if(road STREQUAL "")
      set(tree "${ZQMV5_WINE_BUILD_DIR}")
    else()
      set(tree "${ZQMV5_WINE64_BUILD_DIR}")
    endif()
    if(tree)
      foreach(wine_test zqmv5_win32_tests zqmv5_blackbox_tests)
        add_test(NAME ${wine_test}${road}
                 COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-exec" "${tree}/bin/${wine_test}.exe"
                         --gtest_brief=1)
        set_tests_properties(${wine_test}${road} PROPERTIES RESOURCE_LOCK wine TIMEOUT 900
                             SKIP_RETURN_CODE 77)
      endforeach()
      # The double-byte code page tests again under a Japanese locale, whose
      # ANSI code page is 932 (Shift-JIS).
      add_test(NAME zqmv5_code_page_932${road}
               COMMAND env "LOCPATH=${ZQMV5_LOCALES}" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
                       "${CMAKE_SOURCE_DIR}/tools/wine-exec" "${tree}/bin/zqmv5_blackbox_tests.exe"
                       --gtest_filter=*DoubleByte* --gtest_brief=1)
      set_tests_properties(zqmv5_code_page_932${road} PROPERTIES FIXTURES_REQUIRED japanese_locale
                           RESOURCE_LOCK wine TIMEOUT 300 SKIP_RETURN_CODE 77)
    endif()
  endforeach()
else()
  # Test helpers shared by the Wine tests and the small Windows programs that
  # stand in for the IDE, drive the dialog or catch message boxes.
  add_library(zqmv5_test_support STATIC
              tests/support/files.cpp tests/support/message_boxes.cpp tests/support/process.cpp
              tests/support/screenshot.cpp tests/support/stand_in_ide.cpp)
  target_include_directories(zqmv5_test_support PUBLIC "${CMAKE_SOURCE_DIR}/tests"
                             "${CMAKE_SOURCE_DIR}/src" "${CMAKE_SOURCE_DIR}")
  target_link_libraries(zqmv5_test_support PUBLIC user32 gdi32 comctl32)
  set(ZQMV5_TEST_PROGRAMS fake_ide recorder version_driver zq_runner)
  foreach(program ${ZQMV5_TEST_PROGRAMS})
    add_executable(${program} tests/programs/${program}.cpp)
    target_link_libraries(${program} PRIVATE zqmv5_test_support)
  endforeach()
  # The stand-in IDE is a windowed program, as the IDE is.
  set_target_properties(fake_ide PROPERTIES WIN32_EXECUTABLE ON)

  # The Win32 Env, checked under Wine: its own tests and the contract tests
  # that the fake keeps too.
  add_executable(zqmv5_win32_tests ${ZQMV5_WIN32_TEST_SOURCES} ${ZQMV5_CONTRACT_SOURCES})
  target_link_libraries(zqmv5_win32_tests PRIVATE zqmv5_win32 zqmv5_test_support gtest gtest_main)
  add_dependencies(zqmv5_win32_tests fake_ide)

  # Black-box tests: the real ZQMV5.exe, driven as a user would.
  add_executable(zqmv5_blackbox_tests
                 tests/blackbox/dispatch_test.cpp tests/blackbox/include_test.cpp
                 tests/blackbox/lib_src_test.cpp tests/blackbox/reg_test.cpp
                 tests/blackbox/session.cpp tests/blackbox/unattended_test.cpp
                 tests/blackbox/user_menu_test.cpp
                 tests/blackbox/version_window_test.cpp)
  target_link_libraries(zqmv5_blackbox_tests PRIVATE zqmv5_test_support gtest gtest_main)
  add_dependencies(zqmv5_blackbox_tests ZQMV5 ${ZQMV5_TEST_PROGRAMS})
endif()

include(cmake/release_tests.cmake)
