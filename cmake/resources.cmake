# Windows resources of the program: manifest, icon and version information.
#
# netset_add_resources(<target> <arch>) compiles resources/netset.rc into <target>. <arch> is the
# manifest's processorArchitecture: "x86" for the 32-bit program, "amd64" for the 64-bit one.
# Windows refuses to start a program whose manifest names another architecture than its own.

# A no-op where the GNU Windows platform already enabled it; must be called at file scope.
enable_language(RC)

set(NETSET_RESOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/../resources)
cmake_path(NORMAL_PATH NETSET_RESOURCE_DIR)

function(netset_add_resources target arch)
  if(NOT arch MATCHES "^(x86|amd64)$")
    message(FATAL_ERROR "netset_add_resources: arch must be x86 or amd64, not '${arch}'")
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)

  # The manifest wants four version parts.
  set(NETSET_VERSION4 "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
  set(NETSET_MANIFEST_ARCH ${arch})
  configure_file(${NETSET_RESOURCE_DIR}/netset.manifest.in ${out}/netset.manifest @ONLY)
  file(CONFIGURE OUTPUT ${out}/version.h @ONLY CONTENT [[
#pragma once
#define NETSET_VERSION_MAJOR @PROJECT_VERSION_MAJOR@
#define NETSET_VERSION_MINOR @PROJECT_VERSION_MINOR@
#define NETSET_VERSION_PATCH @PROJECT_VERSION_PATCH@
#define NETSET_VERSION_STRING "@PROJECT_VERSION_MAJOR@.@PROJECT_VERSION_MINOR@.@PROJECT_VERSION_PATCH@"
]])

  set(rc ${NETSET_RESOURCE_DIR}/netset.rc)
  target_sources(${target} PRIVATE ${rc})
  # windres looks for the files that the rc names (manifest, icon) on its include path, as the
  # preprocessor does for version.h. Only the rc gets these directories: version.h is not an
  # interface of the C++ sources.
  target_include_directories(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:RC>:${out}> $<$<COMPILE_LANGUAGE:RC>:${NETSET_RESOURCE_DIR}>)
  # CMake tracks no dependencies of windres inputs: name them, so that a new icon or manifest
  # rebuilds the resource object.
  set_property(SOURCE ${rc} TARGET_DIRECTORY ${target} APPEND PROPERTY OBJECT_DEPENDS
    ${out}/netset.manifest ${out}/version.h ${NETSET_RESOURCE_DIR}/netset.ico)
endfunction()
