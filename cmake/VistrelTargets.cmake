# Warnings and the static runtime, set per target.

function(vistrel_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()

# Sanitizers for the native build, on every target of ours when VISTREL_SANITIZE is on.
function(vistrel_set_sanitizers target)
  if(VISTREL_SANITIZE)
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
