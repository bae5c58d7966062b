# Vexlo.exe, its Win32 services and the tests that run them under Wine.
target_compile_definitions(vexlo_core PUBLIC UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00)
if(MINGW)
  # One self-contained file: it must start on a Windows with nothing installed.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# What every start of the program uses. Media Foundation, GDI+, the common
# dialogs and the multimedia library are looked up when first needed
# (platform/win32/system_function.h); mfuuid holds only interface ids.
set(VEXLO_WIN32_LIBS user32 gdi32 shell32 comctl32 ole32 oleaut32 advapi32 uxtheme psapi msimg32 mfuuid dwmapi)
# The tests call some of those libraries directly.
set(VEXLO_WIN32_TEST_LIBS gdiplus comdlg32 winmm mfplat mfplay)

file(GLOB_RECURSE VEXLO_WIN32_SOURCES CONFIGURE_DEPENDS src/*/win32/*.cpp src/*/*/win32/*.cpp)
list(FILTER VEXLO_WIN32_SOURCES EXCLUDE REGEX "/app/win32/winmain\\.cpp$")
add_library(vexlo_win32 STATIC ${VEXLO_WIN32_SOURCES})
target_link_libraries(vexlo_win32 PUBLIC vexlo_core ${VEXLO_WIN32_LIBS})

add_executable(Vexlo WIN32 src/app/win32/winmain.cpp resources/vexlo.rc)
target_link_libraries(Vexlo PRIVATE vexlo_win32)
if(MINGW)
  target_link_options(Vexlo PRIVATE -municode)
elseif(MSVC)
  # The resource script carries the program's own manifest.
  target_link_options(Vexlo PRIVATE /MANIFEST:NO)
endif()
set_target_properties(Vexlo PROPERTIES OUTPUT_NAME Vexlo)
include(cmake/packages.cmake)

# Small helper programs: the end-to-end tests start them beside Vexlo, and
# run.sh and measure-startup.sh use them to wait for a window, time starts
# and send ticks. They need nothing but Win32.
file(GLOB VEXLO_HELPER_PROGRAMS CONFIGURE_DEPENDS tests/e2e/programs/*.cpp)
set(VEXLO_HELPER_TARGETS "")
foreach(program ${VEXLO_HELPER_PROGRAMS})
  get_filename_component(name ${program} NAME_WE)
  add_executable(${name} WIN32 ${program} tests/e2e/programs/helper.rc)
  target_link_libraries(${name} PRIVATE ${VEXLO_WIN32_LIBS})
  target_compile_definitions(${name} PRIVATE UNICODE _UNICODE NOMINMAX)
  if(MINGW)
    target_link_options(${name} PRIVATE -municode)
  endif()
  list(APPEND VEXLO_HELPER_TARGETS ${name})
endforeach()

# Measurements under Wine or Windows (not tests): the region overlay against
# a bare full-screen copy.
add_executable(vexlo_overlay_measure EXCLUDE_FROM_ALL bench/win32/overlay_measure.cpp)
target_link_libraries(vexlo_overlay_measure PRIVATE vexlo_win32 psapi)
# The windows Vexlo shows at start, made by a program that does nothing
# else (scripts/measure-startup.sh); as plain as the minimal program.
add_executable(vexlo_startup_floor WIN32 EXCLUDE_FROM_ALL bench/win32/startup_floor.cpp tests/e2e/programs/helper.rc)
target_link_libraries(vexlo_startup_floor PRIVATE user32 gdi32)
if(MINGW)
  target_link_options(vexlo_startup_floor PRIVATE -municode)
endif()
# The capture's copy and PNG save against the platform doing each alone.
add_executable(vexlo_capture_copy_measure EXCLUDE_FROM_ALL bench/win32/capture_copy_measure.cpp)
target_link_libraries(vexlo_capture_copy_measure PRIVATE vexlo_win32 gdiplus)
# Entering a folder of 10,000 files against a bare enumeration of it.
add_executable(vexlo_file_list_measure EXCLUDE_FROM_ALL bench/win32/file_list_measure.cpp)
target_link_libraries(vexlo_file_list_measure PRIVATE vexlo_win32)
# The preview's repaint of a long rainbow reply against a plain DrawText of
# the same text in the same window.
add_executable(vexlo_preview_paint_measure EXCLUDE_FROM_ALL bench/win32/preview_paint_measure.cpp)
target_link_libraries(vexlo_preview_paint_measure PRIVATE vexlo_win32)

# GoogleTest sources, built with this toolchain: Debian's package on Linux;
# on Windows point VEXLO_GTEST_SOURCE at a googletest checkout to build the tests.
set(VEXLO_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source folder for the Windows-side tests")
if(NOT EXISTS "${VEXLO_GTEST_SOURCE}/CMakeLists.txt")
  message(STATUS "No GoogleTest source at ${VEXLO_GTEST_SOURCE}: building Vexlo.exe without its tests")
  return()
endif()
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${VEXLO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(VEXLO_RESULTS "${CMAKE_BINARY_DIR}/results")

file(GLOB VEXLO_WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
if(VEXLO_WIN32_TEST_SOURCES)
  add_executable(vexlo_win32_tests ${VEXLO_WIN32_TEST_SOURCES})
  target_link_libraries(vexlo_win32_tests PRIVATE vexlo_win32 gtest_main ${VEXLO_WIN32_TEST_LIBS})
  add_test(NAME win32 COMMAND vexlo_win32_tests --gtest_output=xml:Z:${VEXLO_RESULTS}/win32.xml)
  # The settings save alone in a process, which a test kills at random moments.
  add_executable(vexlo_save_settings tests/win32/programs/save_settings.cpp)
  target_include_directories(vexlo_save_settings PRIVATE tests/win32)
  target_link_libraries(vexlo_save_settings PRIVATE vexlo_win32)
  add_dependencies(vexlo_win32_tests vexlo_save_settings clipboard_holder)
endif()

# End-to-end: a GoogleTest program that starts the real Vexlo.exe and drives
# it through its windows, plus small helper programs it starts beside it.
file(GLOB VEXLO_E2E_SOURCES CONFIGURE_DEPENDS tests/e2e/*.cpp)
if(VEXLO_E2E_SOURCES)
  add_executable(vexlo_e2e_tests ${VEXLO_E2E_SOURCES})
  target_link_libraries(vexlo_e2e_tests PRIVATE gtest_main ${VEXLO_WIN32_LIBS} ${VEXLO_WIN32_TEST_LIBS})
  target_compile_definitions(vexlo_e2e_tests PRIVATE UNICODE _UNICODE NOMINMAX)
  add_dependencies(vexlo_e2e_tests Vexlo ${VEXLO_HELPER_TARGETS})
  target_include_directories(vexlo_e2e_tests PRIVATE ${CMAKE_BINARY_DIR}/generated)
  # The installer's test reads the version resource, the shortcut and the
  # installed product back; without wixl it finds no package and says so.
  target_link_libraries(vexlo_e2e_tests PRIVATE version uuid msi)
  target_compile_definitions(vexlo_e2e_tests PRIVATE VEXLO_UPGRADE_TEST_VERSION="${VEXLO_UPGRADE_TEST_VERSION}")
  if(TARGET vexlo_packages)
    add_dependencies(vexlo_e2e_tests vexlo_packages vexlo_upgrade_test_msi)
  endif()
  # The tests named TwoMonitors.* need two monitors: they run apart, on the
  # display and prefix scripts/test.sh starts for them.
  add_test(NAME e2e COMMAND vexlo_e2e_tests --gtest_filter=-TwoMonitors.*
                            --gtest_output=xml:Z:${VEXLO_RESULTS}/e2e.xml)
  set_tests_properties(e2e PROPERTIES ENVIRONMENT "VEXLO_BIN=${CMAKE_BINARY_DIR}" TIMEOUT 900)
  add_test(NAME e2e-two-monitors
           COMMAND sh ${CMAKE_SOURCE_DIR}/scripts/on-two-monitors.sh $<TARGET_FILE:vexlo_e2e_tests>
                   --gtest_filter=TwoMonitors.* --gtest_output=xml:Z:${VEXLO_RESULTS}/e2e-two-monitors.xml)
  set_tests_properties(e2e-two-monitors PROPERTIES ENVIRONMENT "VEXLO_BIN=${CMAKE_BINARY_DIR}" TIMEOUT 300)

  # The soak run's driver (scripts/soak.sh, a measurement): the end-to-end
  # helpers without the tests.
  add_executable(vexlo_soak_driver EXCLUDE_FROM_ALL bench/win32/soak_driver.cpp tests/e2e/e2e_support.cpp
                                   tests/e2e/formatter_support.cpp)
  target_include_directories(vexlo_soak_driver PRIVATE tests/e2e)
  target_link_libraries(vexlo_soak_driver PRIVATE gtest ${VEXLO_WIN32_LIBS} ${VEXLO_WIN32_TEST_LIBS})
  target_compile_definitions(vexlo_soak_driver PRIVATE UNICODE _UNICODE NOMINMAX)
  if(MINGW)
    target_link_options(vexlo_soak_driver PRIVATE -municode)
  endif()
endif()
