# Cross-compiled for Windows: the test programs run under wine on the build machine, in a wine
# prefix of the build tree (made by the wine_prefix fixture), with the kit's DLLs found through
# WINEPATH. wine hands QT_* variables on only as WINEQT_*; offscreen reads its fonts from
# QT_QPA_FONTDIR only, and wine's own fonts are faces every Windows has (Tahoma has Arabic).
set(BRENTOVAL_WINE ON)
set(BRENTOVAL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# A Qt prefix of links: bin/ with the kit's and MinGW's run-time DLLs, so that WINEPATH is a single
# entry (a ';' would split the test's environment list), and the plug-ins and translations that Qt
# looks for beside the bin/ it was loaded from.
set(_qt ${CMAKE_BINARY_DIR}/wine-qt)
set(BRENTOVAL_WINE_DLLS ${_qt}/bin)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
                OUTPUT_VARIABLE _libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(_gccdir "${_libgcc}" DIRECTORY)
file(GLOB _dlls ${MINGW_KIT_PREFIX}/bin/*.dll ${_gccdir}/*.dll /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)
file(MAKE_DIRECTORY ${BRENTOVAL_WINE_DLLS})
foreach(_dll ${_dlls})
  get_filename_component(_n ${_dll} NAME)
  file(CREATE_LINK ${_dll} ${BRENTOVAL_WINE_DLLS}/${_n} SYMBOLIC)
endforeach()
file(CREATE_LINK ${MINGW_KIT_PREFIX}/plugins ${_qt}/plugins SYMBOLIC)
file(CREATE_LINK /usr/share/qt6/translations ${_qt}/translations SYMBOLIC)
set(BRENTOVAL_WINE_ENV
  "WINEPREFIX=${BRENTOVAL_WINEPREFIX}"
  "WINEPATH=Z:${BRENTOVAL_WINE_DLLS}"
  "WINEDEBUG=-all"
  "WINEDLLOVERRIDES=mscoree,mshtml="
  "WINEQT_QPA_PLATFORM=offscreen"
  "WINEQT_FORCE_STDERR_LOGGING=1"
  "WINEQT_QPA_FONTDIR=Z:/usr/share/wine/fonts")

add_test(NAME wine_prefix COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/wine-prefix.sh ${BRENTOVAL_WINEPREFIX})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)

# The shipped zip, unpacked and started as a pharmacy would (needs `make windows` first).
set(BRENTOVAL_WINDOWS_ZIP ${CMAKE_SOURCE_DIR}/dist/brentoval-windows.zip CACHE FILEPATH "The packed Windows program")
get_filename_component(_dist ${BRENTOVAL_WINDOWS_ZIP} DIRECTORY)
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/windows/installer.nsi _version REGEX "^!define VERSION ")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" _version "${_version}")
set(BRENTOVAL_WINDOWS_SETUP ${_dist}/brentoval-${_version}-setup.exe)
add_test(NAME windows_start_check
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/start-check.sh ${BRENTOVAL_WINDOWS_ZIP}
                 ${CMAKE_BINARY_DIR}/start-check ${CMAKE_BINARY_DIR}/windows-start.png)
set_tests_properties(windows_start_check PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300 RUN_SERIAL ON)

# Two small helpers of the start checks: shellopen.exe opens a file as Explorer does (from a GUI
# process without a console), versioninfo.exe prints what Windows reads from a version resource.
add_executable(shellopen WIN32 ${CMAKE_SOURCE_DIR}/tests/windows/shellopen.cpp)
add_executable(versioninfo ${CMAKE_SOURCE_DIR}/tests/windows/versioninfo.cpp)
foreach(_helper shellopen versioninfo)
  target_link_options(${_helper} PRIVATE -municode -static)
endforeach()
target_link_libraries(versioninfo PRIVATE version)
set(BRENTOVAL_START_CHECK_ENV "WINEPREFIX=${BRENTOVAL_WINEPREFIX};WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=,winemenubuilder.exe=d")
set_tests_properties(windows_start_check PROPERTIES ENVIRONMENT "${BRENTOVAL_START_CHECK_ENV}")
set_property(TEST windows_start_check APPEND PROPERTY ENVIRONMENT
             "SHELLOPEN=$<TARGET_FILE:shellopen>" "VERSIONINFO=$<TARGET_FILE:versioninfo>")

# The installer made beside the zip: silent install, start from its shortcut, upgrade over a copy
# with data, uninstall keeping the data, uninstall removing it when asked.
add_test(NAME windows_installer_check
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/installer-check.sh ${BRENTOVAL_WINDOWS_SETUP}
                 ${CMAKE_BINARY_DIR}/installer-check ${CMAKE_BINARY_DIR}/windows-installed.png)
set_tests_properties(windows_installer_check PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600 RUN_SERIAL ON
                     ENVIRONMENT "${BRENTOVAL_START_CHECK_ENV}")
set_property(TEST windows_installer_check APPEND PROPERTY ENVIRONMENT "SHELLOPEN=$<TARGET_FILE:shellopen>")

# brentoval_wine_on_screen(NAME name COMMAND target args...): a test program run again with the
# real windows platform on a private X server, for what only that platform draws.
function(brentoval_wine_on_screen)
  cmake_parse_arguments(S "" "NAME" "COMMAND" ${ARGN})
  list(POP_FRONT S_COMMAND target)
  add_test(NAME ${S_NAME} COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/on-screen.sh $<TARGET_FILE:${target}> ${S_COMMAND})
  set(env ${BRENTOVAL_WINE_ENV})
  list(FILTER env EXCLUDE REGEX "^WINEQT_QPA_PLATFORM=")
  list(APPEND env "WINEQT_QPA_PLATFORM=windows")
  set_tests_properties(${S_NAME} PROPERTIES FIXTURES_REQUIRED wine RUN_SERIAL ON TIMEOUT 300 ENVIRONMENT "${env}")
endfunction()

# Signing with a certificate made for the test: the program, its DLLs, the setup and the
# uninstaller, packed again into the build folder (dist stays as it is).
add_test(NAME windows_sign_check
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/sign-check.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/kit
                 ${CMAKE_BINARY_DIR}/sign-check)
set_tests_properties(windows_sign_check PROPERTIES TIMEOUT 600 RUN_SERIAL ON)
