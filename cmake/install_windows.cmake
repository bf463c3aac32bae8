# SPDX-License-Identifier: MIT
# The Windows program as a per-user installer (cpack -G NSIS, our own template) and as a portable
# zip (cpack -G ZIP): the exe, its licence and a short README in Chinese, in Notepad's form.
install(TARGETS kelm-prompt RUNTIME DESTINATION .)
set(KELM_WINDOWS_DOCS ${CMAKE_CURRENT_BINARY_DIR}/windows-docs)
foreach(doc LICENSE resources/README-windows.txt)
  file(READ ${PROJECT_SOURCE_DIR}/${doc} text)
  string(CONFIGURE "${text}" text @ONLY)
  string(REPLACE "\n" "\r\n" text "${text}")
  get_filename_component(name ${doc} NAME_WE)
  string(REPLACE "-windows" "" name ${name})
  # A byte-order mark tells Notepad, old and new, that the text is UTF-8.
  string(ASCII 239 187 191 bom)
  file(WRITE ${KELM_WINDOWS_DOCS}/${name}.txt "${bom}${text}")
  install(FILES ${KELM_WINDOWS_DOCS}/${name}.txt DESTINATION .)
endforeach()

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME kelm-prompt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${KELM_DEVELOPER})
set(CPACK_PACKAGE_FILE_NAME kelm-prompt-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY kelm-prompt)
set(CPACK_PACKAGE_HOMEPAGE_URL ${KELM_HOMEPAGE_URL})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/windows/cpack_per_generator.cmake)
# CPack takes NSIS.template.in from the module path: ours installs per user, in Chinese.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
set(CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS "INPUTCHARSET UTF8")
# The template sees only CPACK_ variables.
set(CPACK_NSIS_DISPLAY_NAME "Kelm屏幕提示框")
set(CPACK_NSIS_MUI_ICON ${KELM_IMAGE_DIR}/icon.ico)
set(CPACK_KELM_COPYRIGHT "${KELM_COPYRIGHT} (SPDX-License-Identifier: ${KELM_LICENSE})")
include(CPack)
