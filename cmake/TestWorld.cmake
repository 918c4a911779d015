# The world every test runs in, whatever the machine or the developer's desktop exports: a home of
# its own, a plain C.UTF-8 locale, only the fonts the tests name (sans-serif is DejaVu Sans), a
# screen large enough for every window, and none of the variables through which a desktop restyles,
# rescales or translates Qt programs. A test that tries a desktop sets what it tries in its own
# ENVIRONMENT, which wins over this.

set(varnek_test_fonts ${PROJECT_SOURCE_DIR}/tests/support/fonts.conf)
set(varnek_test_screen ${PROJECT_SOURCE_DIR}/tests/support/screen.json)

# Windows builds run their tests under Wine (CMAKE_CROSSCOMPILING_EMULATOR), which hands no QT_
# variable to the program but turns WINEQT_X into QT_X. QtTest logs to the debugger without a
# console unless told otherwise, and the Qt DLLs are found through WINEPATH. Wine's drive letters
# would break the screen file's platform argument at their colon, so Wine keeps Qt's own screen.
# Qt's offscreen font database there reads one folder: the tests' fonts are linked into one.
if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
  set(varnek_test_font_dir ${CMAKE_BINARY_DIR}/test-fonts)
  file(REMOVE_RECURSE ${varnek_test_font_dir})
  file(MAKE_DIRECTORY ${varnek_test_font_dir})
  file(GLOB varnek_test_font_files
    /usr/share/fonts/truetype/dejavu/*.ttf /usr/share/fonts/opentype/cantarell/*.otf
    /usr/share/fonts/truetype/noto/NotoSans-*.ttf /usr/share/fonts/truetype/liberation2/LiberationSans-*.ttf)
  # DejaVu first: that database knows no generic family, and gives its first for one it lacks.
  foreach(font IN LISTS varnek_test_font_files)
    get_filename_component(name ${font} NAME)
    string(REGEX REPLACE "^DejaVu" "0-DejaVu" name ${name})
    file(CREATE_LINK ${font} ${varnek_test_font_dir}/${name} SYMBOLIC)
  endforeach()
  set(varnek_test_environment
    "WINEQT_QPA_PLATFORM=offscreen" "WINEQT_FORCE_STDERR_LOGGING=1"
    "WINEQT_QPA_FONTDIR=Z:${varnek_test_font_dir}"
    "WINEPATH=Z:${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
else()
  set(varnek_test_environment "QT_QPA_PLATFORM=offscreen:configfile=${varnek_test_screen}")
endif()

set(varnek_desktop_variables
  QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI
  QT_ENABLE_HIGHDPI_SCALING QT_AUTO_SCREEN_SCALE_FACTOR QT_SCALE_FACTOR_ROUNDING_POLICY
  QT_USE_PHYSICAL_DPI QT_IM_MODULE QT_LOGGING_RULES QT_ACCESSIBILITY QT_LINUX_ACCESSIBILITY_ALWAYS_ON
  QT_PLUGIN_PATH XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION
  KDE_SESSION_VERSION GTK_THEME XDG_DATA_HOME XDG_STATE_HOME
  LOCPATH LANGUAGE LC_ALL LC_CTYPE LC_NUMERIC LC_TIME LC_COLLATE LC_MONETARY LC_MESSAGES LC_PAPER LC_NAME
  LC_ADDRESS LC_TELEPHONE LC_MEASUREMENT LC_IDENTIFICATION)

# varnek_test_world(): once the calling folder is read, gives each of its tests that world, but for
# the variables the test sets itself. Called by varnek_add_test; folders without one call it.
function(varnek_test_world)
  cmake_language(DEFER GET_CALL_IDS ids)
  if(NOT "varnek_test_world" IN_LIST ids)
    cmake_language(DEFER ID varnek_test_world CALL _varnek_apply_test_world)
  endif()
endfunction()

function(_varnek_apply_test_world)
  get_property(tests DIRECTORY PROPERTY TESTS)
  foreach(test IN LISTS tests)
    get_test_property(${test} ENVIRONMENT given)
    set(own "")
    foreach(entry IN LISTS given)
      string(REGEX REPLACE "=.*" "" name "${entry}")
      list(APPEND own ${name})
    endforeach()
    set(world "LANG=set:C.UTF-8" "FONTCONFIG_FILE=set:${varnek_test_fonts}")
    # Wine keeps the Windows profile in its prefix; its programs do not read these.
    if(NOT WIN32)
      set(home ${PROJECT_BINARY_DIR}/test-homes/${test})
      file(MAKE_DIRECTORY ${home})
      list(APPEND world "HOME=set:${home}" "XDG_CONFIG_HOME=set:${home}/.config"
        "XDG_CACHE_HOME=set:${home}/.cache")
    endif()
    foreach(name IN LISTS varnek_desktop_variables)
      list(APPEND world "${name}=unset:")
    endforeach()
    set(modifications "")
    foreach(entry IN LISTS world)
      string(REGEX REPLACE "=.*" "" name "${entry}")
      if(NOT name IN_LIST own)
        list(APPEND modifications "${entry}")
      endif()
    endforeach()
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT_MODIFICATION ${modifications})
  endforeach()
endfunction()
