# SPDX-License-Identifier: MIT
# Installing (cmake --install) and packaging (cpack) the program: on Linux as a desktop application
# and a Debian package, on Windows as an installer and a zip.

# Where the project lives on the web. The defaults are placeholders (example.org): whoever
# publishes the program sets them at configure time. The screenshot's address is where
# resources/screenshot.png is published.
set(KELM_HOMEPAGE_URL "https://example.org/kelm-prompt/" CACHE STRING "The project's home page")
set(KELM_BUGTRACKER_URL "https://example.org/kelm-prompt/issues" CACHE STRING "Where to report bugs")
set(KELM_SCREENSHOT_URL "https://example.org/kelm-prompt/screenshot.png" CACHE STRING
  "The published resources/screenshot.png")

if(KELM_TOOLKIT STREQUAL "win32")
  include(${CMAKE_CURRENT_LIST_DIR}/install_windows.cmake)
  return()
endif()
include(GNUInstallDirs)

# The desktop's name for the application: its desktop entry, icon and AppStream metadata.
set(KELM_APP_ID io.github.kelm_prompt.prompt)
set(KELM_RELEASE_DATE 2026-12-07)

set(KELM_DATA ${CMAKE_CURRENT_BINARY_DIR}/share)
configure_file(resources/kelm-prompt.desktop.in ${KELM_DATA}/${KELM_APP_ID}.desktop @ONLY)
configure_file(resources/kelm-prompt.metainfo.xml.in ${KELM_DATA}/${KELM_APP_ID}.metainfo.xml @ONLY)
configure_file(resources/kelm-prompt.1.in ${KELM_DATA}/kelm-prompt.1 @ONLY)
add_custom_command(OUTPUT ${KELM_DATA}/kelm-prompt.1.gz
  COMMAND gzip -9nfk ${KELM_DATA}/kelm-prompt.1
  DEPENDS ${KELM_DATA}/kelm-prompt.1)
add_custom_target(kelm-manual ALL DEPENDS ${KELM_DATA}/kelm-prompt.1.gz)

# The package's Maintainer is whoever builds and ships it: as Debian's own tools do, taken from
# DEBFULLNAME and DEBEMAIL, else from the git identity of the source tree.
if(NOT DEFINED CACHE{KELM_PACKAGE_MAINTAINER})
  if(NOT "$ENV{DEBEMAIL}" STREQUAL "")
    if("$ENV{DEBEMAIL}" MATCHES "<")
      set(maintainer "$ENV{DEBEMAIL}")
    else()
      set(maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
    endif()
  else()
    find_package(Git QUIET)
    if(GIT_FOUND)
      execute_process(COMMAND ${GIT_EXECUTABLE} config user.name WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE name OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      execute_process(COMMAND ${GIT_EXECUTABLE} config user.email WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE email OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(name AND email)
        set(maintainer "${name} <${email}>")
      endif()
    endif()
  endif()
  if(NOT maintainer)
    set(maintainer "kelm-prompt packager <packager@example.org>")
    message(WARNING "No package maintainer known: set KELM_PACKAGE_MAINTAINER, or DEBFULLNAME and DEBEMAIL")
  endif()
  set(KELM_PACKAGE_MAINTAINER "${maintainer}" CACHE STRING "The Maintainer of the Debian package: Name <address>")
endif()

# The Debian documentation files: the version's history, and the licence in machine-readable form.
file(STRINGS resources/changelog newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^kelm-prompt \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "resources/changelog has no entry for ${PROJECT_VERSION} at its top")
endif()
configure_file(resources/changelog ${KELM_DATA}/changelog @ONLY)
add_custom_command(OUTPUT ${KELM_DATA}/changelog.gz
  COMMAND gzip -9nfk ${KELM_DATA}/changelog
  DEPENDS ${KELM_DATA}/changelog)
add_custom_target(kelm-changelog ALL DEPENDS ${KELM_DATA}/changelog.gz)
file(READ LICENSE KELM_LICENSE_TEXT)
string(REGEX REPLACE "^.*\n(Permission )" "\\1" KELM_LICENSE_TEXT "${KELM_LICENSE_TEXT}")
string(STRIP "${KELM_LICENSE_TEXT}" KELM_LICENSE_TEXT)
string(REPLACE "\n\n" "\n.\n" KELM_LICENSE_TEXT "${KELM_LICENSE_TEXT}")
string(REPLACE "\n" "\n " KELM_LICENSE_TEXT " ${KELM_LICENSE_TEXT}")
configure_file(resources/copyright.in ${KELM_DATA}/copyright @ONLY)

# The compiler's identification strings are of no use in the installed program.
add_custom_command(TARGET kelm-prompt POST_BUILD
  COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment $<TARGET_FILE:kelm-prompt>)

install(TARGETS kelm-prompt RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KELM_DATA}/${KELM_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KELM_DATA}/${KELM_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KELM_DATA}/kelm-prompt.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${KELM_DATA}/copyright ${KELM_DATA}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelm-prompt)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/resources/icon-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${KELM_APP_ID}.png)
endforeach()
install(FILES resources/icon.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${KELM_APP_ID}.svg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelm-prompt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KELM_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${KELM_HOMEPAGE_URL})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "line of text that floats above every window")
set(CPACK_PACKAGE_DESCRIPTION [[
Kelm屏幕提示框 (Kelm Screen Prompt) is a small window without a frame that
stays above all other windows and shows one line of text: a reminder, or a
caption while the screen is being recorded.

Type straight into the window to change the text, drag the text to move the
window, drag its right edge to widen it; the right mouse button opens the
settings for the font, colours, height and transparency. The text, place
and appearance are restored at the next start. Its interface is in
Simplified Chinese.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its X11 platform plugin at run time, so the binary's libraries do not name it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Chinese glyphs need a Chinese font; Qt's own dialogs speak Chinese with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "fonts-noto-cjk | fonts-wqy-microhei | fonts-wqy-zenhei, qt6-translations-l10n")
# A session with Wayland alone needs Qt's Wayland platform plugin.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
include(CPack)
