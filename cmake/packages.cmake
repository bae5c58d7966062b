# The portable zip and the per-user installer, both from the program
# stripped of its symbols: scripts/package.sh copies them into dist/, and
# the end-to-end tests install, upgrade and remove the installer under Wine.
# The upgrade test's package is one step newer than this one.
math(EXPR next_patch "${PROJECT_VERSION_PATCH} + 1")
set(VEXLO_UPGRADE_TEST_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${next_patch}")

find_program(VEXLO_WIXL wixl)
find_program(VEXLO_ZIP zip)
if(NOT VEXLO_WIXL OR NOT VEXLO_ZIP OR NOT CMAKE_STRIP)
  message(STATUS "No wixl, zip or strip: building Vexlo.exe without its packages (scripts/prerequisites.sh installs them)")
  return()
endif()

set(VEXLO_PACKAGES "${CMAKE_BINARY_DIR}/packages")
set(stage "${VEXLO_PACKAGES}/stage")
set(VEXLO_PORTABLE_ZIP "${VEXLO_PACKAGES}/Vexlo-${PROJECT_VERSION}-portable.zip")
set(VEXLO_MSI "${VEXLO_PACKAGES}/Vexlo-${PROJECT_VERSION}.msi")
set(wxs "${CMAKE_SOURCE_DIR}/packaging/vexlo.wxs")

# Notepad on a Chinese Windows reads the read-me right only with a byte
# order mark (kept in the template) and CRLF line ends.
configure_file(packaging/README.txt.in "${stage}/README.txt" @ONLY NEWLINE_STYLE CRLF)
add_custom_command(
  OUTPUT "${stage}/Vexlo.exe" "${stage}/vexlo.ico"
  COMMAND ${CMAKE_STRIP} --strip-all -o "${stage}/Vexlo.exe" $<TARGET_FILE:Vexlo>
  COMMAND ${CMAKE_COMMAND} -E copy "${CMAKE_SOURCE_DIR}/resources/vexlo.ico" "${stage}/vexlo.ico"
  DEPENDS Vexlo "${CMAKE_SOURCE_DIR}/resources/vexlo.ico"
  COMMENT "Stripping Vexlo.exe for the packages")
add_custom_command(
  OUTPUT "${VEXLO_PORTABLE_ZIP}"
  COMMAND ${CMAKE_COMMAND} -E rm -f "${VEXLO_PORTABLE_ZIP}"
  COMMAND ${VEXLO_ZIP} -q -X "${VEXLO_PORTABLE_ZIP}" Vexlo.exe README.txt
  WORKING_DIRECTORY "${stage}"
  DEPENDS "${stage}/Vexlo.exe" "${stage}/README.txt")

# wixl finds the files that the source names in its working folder.
function(vexlo_add_msi output version)
  get_filename_component(folder "${output}" DIRECTORY)
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}"
    COMMAND ${VEXLO_WIXL} -a x64 -D Version=${version} -o "${output}" "${wxs}"
    WORKING_DIRECTORY "${stage}"
    DEPENDS "${wxs}" "${stage}/Vexlo.exe" "${stage}/vexlo.ico")
endfunction()

vexlo_add_msi("${VEXLO_MSI}" ${PROJECT_VERSION})
add_custom_target(vexlo_packages ALL DEPENDS "${VEXLO_PORTABLE_ZIP}" "${VEXLO_MSI}")

# A package one step newer than this one, for the upgrade test only.
set(VEXLO_UPGRADE_TEST_MSI "${VEXLO_PACKAGES}/upgrade-test/Vexlo-${VEXLO_UPGRADE_TEST_VERSION}.msi")
vexlo_add_msi("${VEXLO_UPGRADE_TEST_MSI}" ${VEXLO_UPGRADE_TEST_VERSION})
add_custom_target(vexlo_upgrade_test_msi DEPENDS "${VEXLO_UPGRADE_TEST_MSI}")
