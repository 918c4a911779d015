# cmake -P deploy.cmake: lays out the folder users run, from scratch, and lists for the uninstaller
# exactly what is in it. Variables: FOLDER, EXE, STRIP, DLLS (joined by |), PLATFORM_PLUGIN,
# STYLE_PLUGIN, QT_CATALOGUE, NOTICE, UNINSTALL_LIST.
foreach(var FOLDER EXE DLLS PLATFORM_PLUGIN STYLE_PLUGIN QT_CATALOGUE NOTICE UNINSTALL_LIST)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "deploy.cmake needs -D${var}=...")
  endif()
endforeach()
string(REPLACE "|" ";" DLLS "${DLLS}")

file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER}/platforms ${FOLDER}/styles ${FOLDER}/translations ${FOLDER}/licenses)
file(COPY ${EXE} ${DLLS} DESTINATION ${FOLDER})
file(COPY ${PLATFORM_PLUGIN} DESTINATION ${FOLDER}/platforms)
file(COPY ${STYLE_PLUGIN} DESTINATION ${FOLDER}/styles)
# Qt's Turkish texts, where the program looks for them on Windows: beside the exe.
file(COPY ${QT_CATALOGUE} DESTINATION ${FOLDER}/translations)
# The Qt DLLs are LGPL-3, which builds on the GPL-3: both texts go with them.
file(COPY ${NOTICE} DESTINATION ${FOLDER}/licenses)
file(RENAME ${FOLDER}/licenses/licenses.txt ${FOLDER}/licenses/README.txt)
file(COPY_FILE /usr/share/common-licenses/LGPL-3 ${FOLDER}/licenses/LGPL-3.txt)
file(COPY_FILE /usr/share/common-licenses/GPL-3 ${FOLDER}/licenses/GPL-3.txt)
if(STRIP)
  # The compiler's runtime DLLs carry their symbols (libstdc++ is 24 MB with them, 2 MB without).
  # strip writes a date into each PE header: SOURCE_DATE_EPOCH where the build sets it, else now.
  get_filename_component(exe_name ${EXE} NAME)
  file(GLOB_RECURSE dlls ${FOLDER}/*.dll)
  execute_process(COMMAND ${STRIP} --strip-all ${FOLDER}/${exe_name} COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${STRIP} --strip-unneeded ${dlls} COMMAND_ERROR_IS_FATAL ANY)
endif()

file(GLOB_RECURSE files RELATIVE ${FOLDER} ${FOLDER}/*)
list(SORT files)
# The installer keeps each file's date: the build's (the changelog's), not the copy's.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND touch -d @$ENV{SOURCE_DATE_EPOCH} ${files}
    WORKING_DIRECTORY ${FOLDER} COMMAND_ERROR_IS_FATAL ANY)
endif()
set(lines "")
foreach(file ${files})
  string(REPLACE "/" "\\" file "${file}")
  string(APPEND lines "Delete \"$INSTDIR\\${file}\"\n")
endforeach()
foreach(folder platforms styles translations licenses)
  string(APPEND lines "RMDir \"$INSTDIR\\${folder}\"\n")
endforeach()
file(WRITE ${UNINSTALL_LIST} "${lines}")
