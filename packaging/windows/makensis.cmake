# Makes the installer from varnek.nsi, for the build and for the test that runs it in Turkish:
#   cmake -DMAKENSIS=makensis -DSCRIPT=varnek.nsi -DVERSION=1.6 -DSOURCE=<folder> -DICON=varnek.ico
#         -DURL=<home page> -DUNINSTALL_LIST=<Delete/RMDir lines> -DOUTFILE=<installer.exe>
#         -P makensis.cmake
# makensis matches its keywords' letters by the locale's case rules: under Turkish, where I and i
# are no pair, it rejects "!define /ifndef" in its own MUI2.nsh. So it reads in C, whatever the
# caller's locale.
set(ENV{LC_ALL} C.UTF-8)
unset(ENV{LANGUAGE})
execute_process(
  COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${VERSION} -DSOURCE=${SOURCE} -DICON=${ICON}
          -DURL=${URL} -DUNINSTALL_LIST=${UNINSTALL_LIST} -DOUTFILE=${OUTFILE} ${SCRIPT}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "makensis could not make ${OUTFILE} from ${SCRIPT} (${status})")
endif()
