# SPDX-License-Identifier: MIT
# The hardening Debian builds its packages with: dpkg-buildflags' flags with hardening=+all
# (stack protector, format checks, _FORTIFY_SOURCE, read-only relocations bound at load), unless
# DEB_BUILD_MAINT_OPTIONS says otherwise. The build type keeps choosing -O and -g, and a Debug
# build gets no _FORTIFY_SOURCE, which needs the optimiser. Not with the sanitizers, which bring
# checks of their own, nor for the Windows build.
option(KELM_DPKG_BUILDFLAGS "Compile and link with the flags of dpkg-buildflags (hardening)" ON)
find_program(KELM_DPKG_BUILDFLAGS_PROGRAM dpkg-buildflags)
mark_as_advanced(KELM_DPKG_BUILDFLAGS_PROGRAM)
if(NOT KELM_DPKG_BUILDFLAGS OR KELM_SANITIZE OR CMAKE_CROSSCOMPILING OR NOT KELM_DPKG_BUILDFLAGS_PROGRAM)
  return()
endif()

set(kelm_options "$ENV{DEB_BUILD_MAINT_OPTIONS}")
if(kelm_options STREQUAL "")
  set(kelm_options hardening=+all)
endif()
function(kelm_dpkg_buildflags kind out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=${kelm_options}
            ${KELM_DPKG_BUILDFLAGS_PROGRAM} --get ${kind}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(O.*|g.*)$")
  set(${out} "${flags}" PARENT_SCOPE)
endfunction()

kelm_dpkg_buildflags(CXXFLAGS kelm_cxxflags)
kelm_dpkg_buildflags(CPPFLAGS kelm_cppflags)
kelm_dpkg_buildflags(LDFLAGS kelm_ldflags)
# Not in Debug builds: _FORTIFY_SOURCE needs the optimiser, and the prefix maps that make the
# package reproducible would hide the sources' real paths from a developer's debugger.
foreach(flag IN LISTS kelm_cppflags kelm_cxxflags)
  if(flag MATCHES "^-D_FORTIFY_SOURCE|^-f(file|debug|macro)-prefix-map=")
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
  else()
    add_compile_options(${flag})
  endif()
endforeach()
add_link_options(${kelm_ldflags})
list(JOIN kelm_cppflags " " kelm_cppflags)
list(JOIN kelm_cxxflags " " kelm_cxxflags)
list(JOIN kelm_ldflags " " kelm_ldflags)
message(STATUS "dpkg-buildflags (${kelm_options}): ${kelm_cppflags} ${kelm_cxxflags} ${kelm_ldflags}")
