# libFuzzer targets (preset "fuzz": clang, VISTREL_FUZZ=ON). Each target is also one CTest test
# with the label "fuzz": a fixed number of runs from its seed corpus with a fixed seed, so that
# the test does the same work every time. scripts/fuzz.sh runs the targets for longer.

if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "VISTREL_FUZZ needs clang (libFuzzer); the preset \"fuzz\" sets it")
endif()

set(VISTREL_FUZZ_TEST_RUNS 20000 CACHE STRING "Inputs each fuzz target's CTest test tries")

# vistrel_add_fuzzer(<name> SOURCES <files...> LIBS <targets...> CORPUS <folder>)
function(vistrel_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_property(GLOBAL APPEND PROPERTY VISTREL_TEST_PROGRAMS ${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  vistrel_configure_target(${name})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  # One file per target (program, then seed corpus) tells scripts/fuzz.sh what to run.
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzz-targets/${name}
       CONTENT "$<TARGET_FILE:${name}>\n${ARG_CORPUS}\n")
  # New inputs go to a folder of the build; the seed corpus in the sources is only read.
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                   sh -c "mkdir -p '${work}' && exec \"$0\" -seed=1 -runs=${VISTREL_FUZZ_TEST_RUNS} \"$@\""
                   $<TARGET_FILE:${name}> ${work} ${ARG_CORPUS})
  set_tests_properties(${name} PROPERTIES LABELS fuzz)
endfunction()
