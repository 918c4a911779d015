# What users get is built with VARNEK_SHIPPED (the release, bench and windows presets): hardened as
# Debian's dpkg-buildflags hardens a package (hardening=+all), and byte for byte the same from the
# same sources, wherever they are and whenever they are built. Every such flag is here.
option(VARNEK_SHIPPED "Build as users get it: hardened, and the same bytes from the same sources" OFF)
if(NOT VARNEK_SHIPPED)
  return()
endif()
if(VARNEK_SANITIZE OR VARNEK_FUZZ)
  message(FATAL_ERROR "VARNEK_SHIPPED does not go with the sanitizer or fuzz builds")
endif()

# -Wformat-security turns a format string that is no literal into an error, as in Debian.
add_compile_options(-Wformat -Werror=format-security -fstack-protector-strong)
# glibc and MinGW-w64 check buffer sizes only in optimised code, and warn otherwise.
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
if(WIN32)
  # Stated, not left to the toolchain's defaults: ASLR with the full 64-bit range, and no code run
  # from data pages. No link time in the header: the shipped exe gets the changelog's date from
  # strip (packaging/windows/deploy.cmake), so two builds of the same sources give the same exe.
  add_link_options(LINKER:--dynamicbase LINKER:--high-entropy-va LINKER:--nxcompat
                   LINKER:--no-insert-timestamp)
  # The stack protector's and the fortified functions' runtime (libssp) goes into the exe rather
  # than beside it as one more DLL. At the end of the line, after the objects that need it.
  string(APPEND CMAKE_CXX_STANDARD_LIBRARIES " -Wl,-Bstatic -lssp -Wl,-Bdynamic")
else()
  # Windows probes each new stack page itself, and its control-flow guard is not GCC's: these two
  # are for Linux.
  add_compile_options(-fstack-clash-protection -fcf-protection)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported()
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()

# No path of the source or the build folder in the output: each becomes a relative one.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)

# Every date that a tool writes into the output (resource files, archives, the installer) is the
# date of the newest entry of packaging/debian/changelog, as Debian's own package builds take it,
# unless the caller gives one: every copy of the sources has the changelog (a checkout, an unpacked
# archive), so each gives the same bytes. rcc, makensis and the zip read it at build time, so every
# custom command runs with it; cpack reads it through the project config file below. The caller's
# date counts where it is given when configuring: the same then for every output, the package's
# file dates too. cpack refuses another one rather than mix two dates in one package.
set(varnek_changelog ${PROJECT_SOURCE_DIR}/packaging/debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${varnek_changelog})
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(VARNEK_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  file(STRINGS ${varnek_changelog} changelog_dates ENCODING UTF-8 REGEX "^ -- .*>  .")
  if(changelog_dates)
    list(GET changelog_dates 0 changelog_date)
    string(REGEX REPLACE "^ -- .*>  " "" changelog_date "${changelog_date}")
    execute_process(COMMAND date -d "${changelog_date}" +%s
      OUTPUT_VARIABLE VARNEK_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
endif()
if(NOT VARNEK_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "No date for the build's output: packaging/debian/changelog has no dated entry "
                      "(\" -- NAME <MAIL>  DATE\"); or set SOURCE_DATE_EPOCH (seconds since 1970)")
endif()
message(STATUS "Dates in the output: ${VARNEK_SOURCE_DATE_EPOCH} (SOURCE_DATE_EPOCH)")
set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
  "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VARNEK_SOURCE_DATE_EPOCH}")
file(WRITE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake
  "if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT \"\$ENV{SOURCE_DATE_EPOCH}\" STREQUAL \"${VARNEK_SOURCE_DATE_EPOCH}\")\n"
  "  message(FATAL_ERROR \"SOURCE_DATE_EPOCH is \$ENV{SOURCE_DATE_EPOCH} here but was ${VARNEK_SOURCE_DATE_EPOCH} when \"\n"
  "                      \"${PROJECT_BINARY_DIR} was configured: configure it again with this date\")\n"
  "endif()\n"
  "set(ENV{SOURCE_DATE_EPOCH} ${VARNEK_SOURCE_DATE_EPOCH})\n")
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake)
