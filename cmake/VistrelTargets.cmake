# Warnings and the static runtime, set per target.

function(vistrel_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(VISTREL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
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

# A library that hosts load and unload links the C++ runtime built on Windows' own threads (the
# MinGW -win32 compilers' libraries) in place of the winpthreads one: each unload of a library
# with winpthreads inside leaves four handles in the host process, of this runtime one. The
# library's code uses no std::thread or std::mutex, which only the winpthreads runtime has; a
# library that came to need them would fail to link.
function(vistrel_link_windows_threads_runtime target)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
                  OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(runtime_dir "${libgcc}" DIRECTORY)
  string(REGEX REPLACE "-posix$" "-win32" runtime_dir "${runtime_dir}")
  if(NOT EXISTS "${runtime_dir}/libstdc++.a")
    message(FATAL_ERROR "no C++ runtime for Windows threads in ${runtime_dir} "
                        "(Debian packages g++-mingw-w64-x86-64-win32, g++-mingw-w64-i686-win32)")
  endif()
  # Searched before the compiler's own directory, so that libstdc++, libgcc and libgcc_eh come
  # from there.
  target_link_options(${target} PRIVATE -L${runtime_dir})
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

# vistrel_embed_text(<target> <function> <file>)
# Compiles the text of <file> into <target> as std::string_view vistrel::rules::<function>(),
# written again whenever the file changes.
function(vistrel_embed_text target function file)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/embedded/${function}.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${output} -DFUNCTION=${function}
            -P ${PROJECT_SOURCE_DIR}/cmake/VistrelEmbedText.cmake
    DEPENDS ${file} ${PROJECT_SOURCE_DIR}/cmake/VistrelEmbedText.cmake
    COMMENT "Compiling ${file} into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()

# vistrel_precompile_windows_headers(<targets...>)
# The Windows folders' libraries share one precompiled header of the system's headers
# (platform/precompiled_windows_headers.h); its holder has their compile options, so that the
# compiler accepts it for each of them.
function(vistrel_precompile_windows_headers)
  if(NOT TARGET vistrel_windows_headers)
    add_library(vistrel_windows_headers OBJECT
                ${PROJECT_SOURCE_DIR}/platform/precompiled_windows_headers.cpp)
    vistrel_configure_target(vistrel_windows_headers)
    target_precompile_headers(vistrel_windows_headers PRIVATE
                              ${PROJECT_SOURCE_DIR}/platform/precompiled_windows_headers.h)
  endif()
  foreach(target IN LISTS ARGN)
    target_precompile_headers(${target} REUSE_FROM vistrel_windows_headers)
  endforeach()
endfunction()
