# Installing (cmake --install) and packaging (cpack -G DEB) the program as a desktop application.
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

install(TARGETS kelm-prompt RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KELM_DATA}/${KELM_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KELM_DATA}/${KELM_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KELM_DATA}/kelm-prompt.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
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
set(KELM_PACKAGE_MAINTAINER "kelm-prompt developers <kelm-prompt@users.noreply.github.com>"
  CACHE STRING "The Maintainer of the Debian package")
set(CPACK_PACKAGE_CONTACT ${KELM_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "line of text that floats above every window")
set(CPACK_PACKAGE_DESCRIPTION
  "Kelm屏幕提示框 is a small window without a frame that stays above all other windows and shows one line of text: a reminder, or a caption while the screen is being recorded. Its interface is in Simplified Chinese.")
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
include(CPack)
