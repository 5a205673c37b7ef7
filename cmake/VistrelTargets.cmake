# Warnings and the static runtime, set per target.

function(vistrel_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()

# Sanitizers for the native build, on every target of ours when VISTREL_SANITIZE is on.
function(vistrel_set_sanitizers target)
  if(VISTREL_FUZZ)
    # Coverage for libFuzzer in everything of ours; the fuzz targets add the fuzzer's main.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                                             -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  elseif(VISTREL_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=all)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Windows programs and the DLL stand alone: libgcc, libstdc++ and winpthread linked statically.
function(vistrel_link_runtime_statically target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

function(vistrel_configure_target target)
  vistrel_set_warnings(${target})
  vistrel_set_sanitizers(${target})
  vistrel_link_runtime_statically(${target})
endfunction()

# vistrel_add_library(<name> SOURCES <files...> [LIBS <targets...>])
# A static library of the project: its folder's headers included as "<folder>/<name>.h" from
# the source root, its dependencies passed on to whatever links it, our warnings and runtime.
function(vistrel_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
  vistrel_configure_target(${name})
endfunction()
