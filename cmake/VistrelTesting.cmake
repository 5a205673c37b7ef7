# GoogleTest for every preset, and one function that makes a test executable and its CTest test.
#
# Natively the system's GoogleTest is used. For Windows it is built from Debian's sources with
# pthreads off and linked statically, so each test program runs under Wine on its own. No test
# uses GoogleMock: it is neither built nor linked.

set(VISTREL_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest sources, built for the Windows presets (Debian package googletest)")

if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VISTREL_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(VISTREL_GTEST_LIBS GTest::gtest)
  set(VISTREL_GTEST_MAIN GTest::gtest_main)
else()
  find_package(GTest REQUIRED)
  set(VISTREL_GTEST_LIBS GTest::gtest)
  set(VISTREL_GTEST_MAIN GTest::gtest_main)
endif()

# The test programs' own code is built for a quick compile: one precompiled header for all of
# them (GoogleTest and the system's headers, parsed once per build instead of once per test file)
# and -Og, which optimizes what stays quick to optimize. The code under test comes from the
# product's libraries, built as the product is. A test file then compiles in about half the
# time. The header's holder gets the test programs' options, so that the compiler accepts its
# precompiled header for each of them.
function(vistrel_configure_test_code target)
  vistrel_configure_target(${target})
  target_compile_options(${target} PRIVATE -Og)
endfunction()
add_library(vistrel_test_headers OBJECT ${PROJECT_SOURCE_DIR}/tests/support/precompiled_test_headers.cpp)
target_link_libraries(vistrel_test_headers PRIVATE ${VISTREL_GTEST_LIBS})
vistrel_configure_test_code(vistrel_test_headers)
target_precompile_headers(vistrel_test_headers PRIVATE
                          ${PROJECT_SOURCE_DIR}/tests/support/precompiled_test_headers.h)

# Under Wine every test needs the build tree's prefix, its wineserver and its display; one
# fixture starts them before the first Windows test and stops them after the last.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME wine_prefix_start COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/prepare-prefix)
  add_test(NAME wine_prefix_stop COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/stop-prefix)
  set_tests_properties(wine_prefix_start PROPERTIES FIXTURES_SETUP wine LABELS wine)
  set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine LABELS wine)
endif()

# Natively (without the sanitizers, which valgrind cannot run beside) a test may also run under
# valgrind's memcheck: any invalid access, use of uninitialised memory or leak fails it.
if(NOT CMAKE_CROSSCOMPILING AND NOT VISTREL_SANITIZE)
  find_program(VISTREL_VALGRIND valgrind)
endif()
set(VISTREL_VALGRIND_OPTIONS --tool=memcheck --error-exitcode=1 --leak-check=full
    --errors-for-leak-kinds=definite,indirect,possible --show-leak-kinds=definite,indirect,possible
    --track-origins=yes --quiet)

# vistrel_add_test(<name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>]
#                  [OWN_MAIN] [VALGRIND] [ENVIRONMENT <VAR=value...>] [TIMEOUT <seconds>]
#                  [LAUNCHER <command...>] [CASES <Suite.Case...>])
# One executable, registered as one CTest test (a Wine process per test case would cost far
# more than the cases themselves). CASES: one CTest test <name>.<case> per case instead, each in
# a process of its own, for cases that must not share what a process keeps. OWN_MAIN: the sources bring their own main(). LAUNCHER: a
# command that starts the program (under Wine, the emulator with it), e.g. a test server.
# VALGRIND: natively, also the test <name>_valgrind, the same program under memcheck, with the
# label valgrind (`ctest --preset native -L valgrind`).
function(vistrel_add_test name)
  cmake_parse_arguments(ARG "OWN_MAIN;VALGRIND" "TIMEOUT" "SOURCES;LIBS;LABELS;ENVIRONMENT;LAUNCHER;CASES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_property(GLOBAL APPEND PROPERTY VISTREL_TEST_PROGRAMS ${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${VISTREL_GTEST_LIBS})
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${VISTREL_GTEST_MAIN})
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  vistrel_configure_test_code(${name})
  target_precompile_headers(${name} REUSE_FROM vistrel_test_headers)
  set(tests)
  if(ARG_CASES)
    foreach(case IN LISTS ARG_CASES)
      add_test(NAME ${name}.${case} COMMAND ${ARG_LAUNCHER} ${CMAKE_CROSSCOMPILING_EMULATOR}
                                           $<TARGET_FILE:${name}> --gtest_brief=1
                                           --gtest_filter=${case})
      list(APPEND tests ${name}.${case})
    endforeach()
  elseif(ARG_LAUNCHER)
    add_test(NAME ${name} COMMAND ${ARG_LAUNCHER} ${CMAKE_CROSSCOMPILING_EMULATOR}
                                  $<TARGET_FILE:${name}> --gtest_brief=1)
    set(tests ${name})
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set(tests ${name})
  endif()
  if(ARG_TIMEOUT)
    set_tests_properties(${tests} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  endif()
  set(labels ${ARG_LABELS})
  if(CMAKE_CROSSCOMPILING)
    list(APPEND labels wine)
  else()
    list(APPEND labels native)
  endif()
  set_tests_properties(${tests} PROPERTIES LABELS "${labels}")
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${tests} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
  if(ARG_ENVIRONMENT)
    set_tests_properties(${tests} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
  if(ARG_VALGRIND AND VISTREL_VALGRIND)
    add_test(NAME ${name}_valgrind
             COMMAND ${VISTREL_VALGRIND} ${VISTREL_VALGRIND_OPTIONS} $<TARGET_FILE:${name}>
                     --gtest_brief=1)
    # Memcheck runs a program some 20 to 50 times slower.
    set_tests_properties(${name}_valgrind PROPERTIES LABELS "${labels};valgrind" TIMEOUT 600)
    if(ARG_ENVIRONMENT)
      set_tests_properties(${name}_valgrind PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
    endif()
  endif()
endfunction()

# vistrel_add_resource_module(<name> <sources...>)
# A resource-only DLL for the tests: no runtime, no entry point. Tests load it as a data file and make it the module instance, as the library's own module is.
function(vistrel_add_resource_module name)
  add_library(${name} MODULE ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" LINKER_LANGUAGE CXX)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_options(${name} PRIVATE -nostdlib -Wl,-e,0)
endfunction()
