# Runs widl from CMake: one function per kind of output, a header or a type library.
#
# The toolchain files name the compiler in VISTREL_WIDL. Debian's MinGW headers ship no .idl
# files, so the imports (oaidl.idl, ocidl.idl) come from Wine's, and importlib("stdole2.tlb")
# finds Wine's own stdole2.tlb for the target's architecture.

set(VISTREL_WIDL_IMPORT_DIR /usr/include/wine/wine/windows CACHE PATH
    "Folder of the IDL files that the project's IDL imports")

# Where Debian's Wine keeps stdole2.tlb for each architecture; VISTREL_STDOLE2_DIR overrides.
# The i386 one comes from the libwine package that scripts/unpack-wine-i386.sh unpacks.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(vistrel_widl_arch --win64)
  set(vistrel_stdole2_dirs /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
else()
  set(vistrel_widl_arch --win32)
  set(vistrel_stdole2_dirs ${PROJECT_SOURCE_DIR}/build/wine-i386/usr/lib/i386-linux-gnu/wine/i386-windows)
endif()
find_path(VISTREL_STDOLE2_DIR stdole2.tlb PATHS ${vistrel_stdole2_dirs} NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT VISTREL_STDOLE2_DIR)
  message(FATAL_ERROR "stdole2.tlb for this architecture not found in ${vistrel_stdole2_dirs} "
                      "(package wine64; for i686, scripts/unpack-wine-i386.sh)")
endif()

# vistrel_widl_header(<target> <file.idl>)
# Compiles the IDL into <binary dir of the source folder>/<name>.h and makes <target>, an
# interface library that brings the header and its include path to whatever links it; the header
# is included as "<folder>/<name>.h", like the project's own headers.
function(vistrel_widl_header target idl)
  get_filename_component(idl_path ${idl} ABSOLUTE)
  get_filename_component(name ${idl} NAME_WE)
  set(header ${CMAKE_CURRENT_BINARY_DIR}/${name}.h)
  add_custom_command(
    OUTPUT ${header}
    COMMAND ${VISTREL_WIDL} ${vistrel_widl_arch} -I${VISTREL_WIDL_IMPORT_DIR}
            -I${CMAKE_CURRENT_SOURCE_DIR} -h -o ${header} ${idl_path}
    DEPENDS ${idl_path}
    COMMENT "widl: header ${name}.h"
    VERBATIM)
  add_custom_target(${target}_generate DEPENDS ${header})
  add_library(${target} INTERFACE)
  add_dependencies(${target} ${target}_generate)
  target_include_directories(${target} INTERFACE ${PROJECT_BINARY_DIR})
endfunction()

# vistrel_widl_typelib(<target> <file.idl>)
# Compiles the IDL into <binary dir of the source folder>/<name>.tlb, built by <target> with the
# normal build. The file's full path is the target's property VISTREL_TYPELIB_FILE.
function(vistrel_widl_typelib target idl)
  get_filename_component(idl_path ${idl} ABSOLUTE)
  get_filename_component(name ${idl} NAME_WE)
  set(typelib ${CMAKE_CURRENT_BINARY_DIR}/${name}.tlb)
  add_custom_command(
    OUTPUT ${typelib}
    COMMAND ${VISTREL_WIDL} ${vistrel_widl_arch} -I${VISTREL_WIDL_IMPORT_DIR}
            -I${CMAKE_CURRENT_SOURCE_DIR} -L${VISTREL_STDOLE2_DIR} -t -o ${typelib} ${idl_path}
    DEPENDS ${idl_path}
    COMMENT "widl: type library ${name}.tlb"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${typelib})
  set_target_properties(${target} PROPERTIES VISTREL_TYPELIB_FILE ${typelib})
endfunction()
