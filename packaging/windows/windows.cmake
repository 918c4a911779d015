# Windows: varnek.exe as a window program with its icon, and what users get: a folder that starts
# from anywhere, the same folder zipped, and an installer. Included by src/CMakeLists.txt, since
# the icon resource must be built in the exe's own directory.
enable_language(RC)

set(varnek_windows_source ${CMAKE_CURRENT_LIST_DIR})
set(varnek_images ${PROJECT_SOURCE_DIR}/src/assets/images)
# Debian's own interpreter, which has python3-pil; a python3 found first on PATH may lack it.
set(VARNEK_PYTHON /usr/bin/python3 CACHE FILEPATH "Python 3 with Pillow, which draws the icon")
find_program(VARNEK_MAKENSIS makensis DOC "NSIS compiler for the installer")

set(varnek_ico ${CMAKE_CURRENT_BINARY_DIR}/varnek.ico)
add_custom_command(OUTPUT ${varnek_ico}
  COMMAND ${VARNEK_PYTHON} ${varnek_windows_source}/make_ico.py ${varnek_ico}
          ${varnek_images}/main-16.png ${varnek_images}/main-32.png ${varnek_images}/main-32.png:64
  DEPENDS ${varnek_windows_source}/make_ico.py ${varnek_images}/main-16.png ${varnek_images}/main-32.png
  COMMENT "Drawing varnek.ico"
  VERBATIM)
configure_file(${varnek_windows_source}/varnek.rc.in ${CMAKE_CURRENT_BINARY_DIR}/varnek.rc @ONLY)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/varnek.rc PROPERTIES OBJECT_DEPENDS ${varnek_ico})
target_sources(varnek PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/varnek.rc ${varnek_ico})
# No console window beside the program.
set_target_properties(varnek PROPERTIES WIN32_EXECUTABLE ON)

# The MinGW runtime the exe was built against, from the compiler itself.
set(varnek_runtime_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
  endif()
  list(APPEND varnek_runtime_dlls ${path})
endforeach()

# Qt's Turkish catalogue from Debian's qt6-translations-l10n (the same Qt version): the program
# reads it from a translations folder beside the exe, and so do the tests under Wine.
set(VARNEK_QT_CATALOGUE /usr/share/qt6/translations/qtbase_tr.qm CACHE FILEPATH "Qt's Turkish catalogue")
if(NOT EXISTS ${VARNEK_QT_CATALOGUE})
  message(FATAL_ERROR "${VARNEK_QT_CATALOGUE} is missing (Debian package qt6-translations-l10n)")
endif()

set(varnek_windows_out ${PROJECT_BINARY_DIR}/dist)
set(varnek_folder ${varnek_windows_out}/Varnek)
set(varnek_zip ${varnek_windows_out}/varnek-${PROJECT_VERSION}-windows-x64.zip)
set(varnek_installer ${varnek_windows_out}/varnek-${PROJECT_VERSION}-kurulum.exe)
set(varnek_uninstall_list ${varnek_windows_out}/uninstall.nsh)
# Only what the exe loads: the pictures are PNG, which QtGui reads without an image plugin.
set(varnek_dlls $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> ${varnek_runtime_dlls})
add_custom_command(OUTPUT ${varnek_folder}/varnek.exe ${varnek_uninstall_list}
  COMMAND ${CMAKE_COMMAND}
    -DFOLDER=${varnek_folder}
    -DEXE=$<TARGET_FILE:varnek>
    -DSTRIP=${CMAKE_STRIP}
    "-DDLLS=$<JOIN:${varnek_dlls},|>"
    -DPLATFORM_PLUGIN=$<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>
    -DSTYLE_PLUGIN=$<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>
    -DQT_CATALOGUE=${VARNEK_QT_CATALOGUE}
    -DNOTICE=${varnek_windows_source}/licenses.txt
    -DUNINSTALL_LIST=${varnek_uninstall_list}
    -P ${varnek_windows_source}/deploy.cmake
  DEPENDS varnek ${varnek_windows_source}/deploy.cmake ${varnek_windows_source}/licenses.txt
          ${VARNEK_QT_CATALOGUE}
  COMMENT "Gathering the Windows folder ${varnek_folder}"
  VERBATIM)
# By a script of ours: cmake -E tar stores each file's access and change times as well.
add_custom_command(OUTPUT ${varnek_zip}
  COMMAND ${VARNEK_PYTHON} ${varnek_windows_source}/make_zip.py ${varnek_zip} ${varnek_folder}
  DEPENDS ${varnek_folder}/varnek.exe ${varnek_windows_source}/make_zip.py
  COMMENT "Zipping ${varnek_zip}"
  VERBATIM)
set(varnek_deliverables ${varnek_zip})
# The home page that the AppStream file gives, for the entry among the installed programs.
set(varnek_metainfo ${PROJECT_SOURCE_DIR}/packaging/example.varnek.Varnek.metainfo.xml)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${varnek_metainfo})
file(STRINGS ${varnek_metainfo} varnek_homepage REGEX "<url type=\"homepage\">")
if(NOT varnek_homepage MATCHES "<url type=\"homepage\">([^<]+)</url>")
  message(FATAL_ERROR "no home page in packaging/example.varnek.Varnek.metainfo.xml")
endif()
set(varnek_homepage ${CMAKE_MATCH_1})
if(VARNEK_MAKENSIS)
  add_custom_command(OUTPUT ${varnek_installer}
    COMMAND ${CMAKE_COMMAND} -DMAKENSIS=${VARNEK_MAKENSIS} -DSCRIPT=${varnek_windows_source}/varnek.nsi
            -DVERSION=${PROJECT_VERSION} -DSOURCE=${varnek_folder} -DICON=${varnek_ico} -DURL=${varnek_homepage}
            -DUNINSTALL_LIST=${varnek_uninstall_list} -DOUTFILE=${varnek_installer}
            -P ${varnek_windows_source}/makensis.cmake
    DEPENDS ${varnek_folder}/varnek.exe ${varnek_uninstall_list} ${varnek_ico} ${varnek_windows_source}/varnek.nsi
            ${varnek_windows_source}/makensis.cmake
    COMMENT "Making the installer ${varnek_installer}"
    VERBATIM)
  list(APPEND varnek_deliverables ${varnek_installer})
else()
  varnek_left_out("the Windows installer and its test" "makensis (Debian package nsis)")
endif()
# What a user can check a download against: the exe alone as well, which a user may be sent.
set(varnek_sums ${varnek_windows_out}/SHA256SUMS)
set(varnek_summed Varnek/varnek.exe)
foreach(file ${varnek_deliverables})
  get_filename_component(name ${file} NAME)
  list(APPEND varnek_summed ${name})
endforeach()
add_custom_command(OUTPUT ${varnek_sums}
  COMMAND ${CMAKE_COMMAND} -DDIR=${varnek_windows_out} "-DFILES=$<JOIN:${varnek_summed},|>"
          -P ${PROJECT_SOURCE_DIR}/packaging/sha256sums.cmake
  DEPENDS ${varnek_folder}/varnek.exe ${varnek_deliverables} ${PROJECT_SOURCE_DIR}/packaging/sha256sums.cmake
  COMMENT "Writing ${varnek_sums}"
  VERBATIM)
add_custom_target(varnek_windows_deliverables ALL DEPENDS ${varnek_deliverables} ${varnek_sums})

# The protections and the fixed date in the header of the exe that is shipped.
if(VARNEK_TESTS AND VARNEK_SHIPPED)
  execute_process(COMMAND ${VARNEK_PYTHON} -c "import pefile" RESULT_VARIABLE no_pefile OUTPUT_QUIET ERROR_QUIET)
  if(no_pefile)
    varnek_left_out("the test windows_pe_header" "python3-pefile")
  else()
    add_test(NAME windows_pe_header
      COMMAND ${VARNEK_PYTHON} ${PROJECT_SOURCE_DIR}/tests/windows/pe_header.py
              --timestamp ${VARNEK_SOURCE_DATE_EPOCH} ${varnek_folder}/varnek.exe)
  endif()
endif()

# The program itself and its installer under Wine, on an X server of their own.
if(VARNEK_TESTS AND CMAKE_CROSSCOMPILING_EMULATOR)
  set(varnek_wine_tests ${PROJECT_SOURCE_DIR}/tests/windows)
  add_test(NAME windows_program
    COMMAND ${VARNEK_PYTHON} ${varnek_wine_tests}/program_under_wine.py
            --zip ${varnek_zip} --out ${varnek_windows_out}/program-test)
  # Alone: Wine has one foreground window for all its programs, and a test window that takes it
  # would keep the menus of the program under test from opening.
  set_tests_properties(windows_program PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
  if(VARNEK_MAKENSIS)
    add_test(NAME windows_installer
      COMMAND ${VARNEK_PYTHON} ${varnek_wine_tests}/installer_under_wine.py
              --installer ${varnek_installer} --folder ${varnek_folder} --url ${varnek_homepage}
              --probe $<TARGET_FILE:rate_probe> --out ${varnek_windows_out}/installer-test)
    set_tests_properties(windows_installer PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
    # The build's own makensis step in a Turkish shell, on a folder of one small file.
    add_test(NAME windows_installer_in_turkish
      COMMAND ${varnek_wine_tests}/installer_in_turkish.sh ${CMAKE_COMMAND} ${VARNEK_MAKENSIS}
              ${varnek_windows_source} ${varnek_ico})
  endif()
endif()
