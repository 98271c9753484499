# Every test source must be in a test program: a *_test.cpp outside the
# places the globs look at would silently never run.
file(GLOB_RECURSE ZQMV5_ALL_TEST_FILES CONFIGURE_DEPENDS
     "${CMAKE_SOURCE_DIR}/src/*_test.cpp" "${CMAKE_SOURCE_DIR}/tests/*_test.cpp")
foreach(test_file ${ZQMV5_ALL_TEST_FILES})
  if(NOT test_file IN_LIST ZQMV5_UNIT_TEST_SOURCES AND NOT test_file IN_LIST ZQMV5_WIN32_TEST_SOURCES
     AND NOT test_file MATCHES "/tests/blackbox/[^/]*_test\\.cpp$")
    message(FATAL_ERROR "${test_file} is in no test program")
  endif()
endforeach()

# Test targets. Included from the top CMakeLists.txt when GoogleTest is there.

if(NOT WIN32)
  # Unit tests of the logic with fakes; once plain and once under AddressSanitizer
  # and UndefinedBehaviorSanitizer. Each binary compiles the logic itself so that
  # the sanitizers see all of it.
  function(zqmv5_unit_tests name)
    add_executable(${name} ${ZQMV5_CORE_SOURCES} ${ZQMV5_FAKE_SOURCES}
                           ${ZQMV5_UNIT_TEST_SOURCES} ${ZQMV5_CONTRACT_SOURCES})
    target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}/src" "${CMAKE_SOURCE_DIR}/tests")
    target_link_libraries(${name} PRIVATE gtest gtest_main)
    target_compile_options(${name} PRIVATE ${ARGN})
    target_link_options(${name} PRIVATE ${ARGN})
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  endfunction()
  zqmv5_unit_tests(zqmv5_unit_tests)
  zqmv5_unit_tests(zqmv5_unit_tests_sanitized
                   -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

  # The tokenizer's fuzz target, run for a bounded time as part of the tests.
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    file(GLOB ZQMV5_FUZZ_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/*/*_fuzz.cpp")
    foreach(source ${ZQMV5_FUZZ_SOURCES})
      get_filename_component(fuzz_name ${source} NAME_WE)
      add_executable(${fuzz_name} ${source} ${ZQMV5_CORE_SOURCES} ${ZQMV5_FAKE_SOURCES})
      target_include_directories(${fuzz_name} PRIVATE "${CMAKE_SOURCE_DIR}/src")
      target_compile_options(${fuzz_name} PRIVATE -fsanitize=fuzzer,address,undefined)
      target_link_options(${fuzz_name} PRIVATE -fsanitize=fuzzer,address,undefined)
      add_test(NAME ${fuzz_name}
               COMMAND ${fuzz_name} -max_total_time=20 -rss_limit_mb=2048 -print_final_stats=1)
    endforeach()
  endif()

  # The Wine layers, from the MinGW build tree, run under Wine and Xvfb; and
  # the shape of the built program itself.
  if(ZQMV5_WINE_BUILD_DIR)
    add_test(NAME zqmv5_exe_shape
             COMMAND "${CMAKE_SOURCE_DIR}/tools/check-exe" "${ZQMV5_WINE_BUILD_DIR}/bin/ZQMV5.exe")
    foreach(wine_test zqmv5_win32_tests zqmv5_blackbox_tests)
      add_test(NAME ${wine_test}
               COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-exec"
                       "${ZQMV5_WINE_BUILD_DIR}/bin/${wine_test}.exe" --gtest_brief=1)
      set_tests_properties(${wine_test} PROPERTIES RESOURCE_LOCK wine TIMEOUT 900)
    endforeach()
  endif()
else()
  add_library(zqmv5_fakes STATIC ${ZQMV5_FAKE_SOURCES})
  target_link_libraries(zqmv5_fakes PUBLIC zqmv5_core)

  # The Win32 backend, checked under Wine: its own tests and the contract tests
  # that the fakes pass too.
  add_executable(zqmv5_win32_tests ${ZQMV5_WIN32_TEST_SOURCES} ${ZQMV5_CONTRACT_SOURCES})
  target_link_libraries(zqmv5_win32_tests PRIVATE zqmv5_win32 zqmv5_fakes gtest gtest_main)

  # Test helpers: each tests/programs/*.cpp is a small Windows program of its own.
  file(GLOB ZQMV5_SUPPORT_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/support/*.cpp")
  add_library(zqmv5_test_support STATIC ${ZQMV5_SUPPORT_SOURCES})
  target_include_directories(zqmv5_test_support PUBLIC "${CMAKE_SOURCE_DIR}/tests")
  target_link_libraries(zqmv5_test_support PUBLIC user32 gdi32 comctl32)
  file(GLOB ZQMV5_PROGRAM_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/programs/*.cpp")
  foreach(source ${ZQMV5_PROGRAM_SOURCES})
    get_filename_component(program ${source} NAME_WE)
    add_executable(${program} ${source})
    target_link_libraries(${program} PRIVATE zqmv5_test_support)
    list(APPEND ZQMV5_TEST_PROGRAMS ${program})
  endforeach()

  # The stand-in IDE is a windowed program, as the IDE is; the Win32 DDE client
  # is tested against it.
  set_target_properties(fake_ide PROPERTIES WIN32_EXECUTABLE ON)
  add_dependencies(zqmv5_win32_tests fake_ide)

  # Black-box tests: the real ZQMV5.exe, driven as a user would.
  file(GLOB ZQMV5_BLACKBOX_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/blackbox/*.cpp")
  add_executable(zqmv5_blackbox_tests ${ZQMV5_BLACKBOX_SOURCES})
  target_link_libraries(zqmv5_blackbox_tests PRIVATE zqmv5_test_support gtest gtest_main)
  add_dependencies(zqmv5_blackbox_tests ZQMV5 ${ZQMV5_TEST_PROGRAMS})
endif()
