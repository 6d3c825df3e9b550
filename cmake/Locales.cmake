# Legacy and UTF-8 locales compiled with localedef into the build tree, so the
# demo and the tests can select them with LOCPATH without touching the system.
set(TRMSG_LOCALE_DIR "${PROJECT_BINARY_DIR}/locales")
option(TRMSG_BUILD_LOCALES "Compile the locales used by the demo and the tests" ON)

# name;source locale;charmap
set(TRMSG_LOCALES
  "fr_FR.UTF-8|fr_FR|UTF-8"
  "de_DE.UTF-8|de_DE|UTF-8"
  "fr_FR.ISO-8859-1|fr_FR|ISO-8859-1"
  "de_DE.ISO-8859-15@euro|de_DE@euro|ISO-8859-15"
  "ru_RU.KOI8-R|ru_RU|KOI8-R"
  "ja_JP.EUC-JP|ja_JP|EUC-JP"
  "zh_CN.GB18030|zh_CN|GB18030"
  "hy_AM.ARMSCII-8|hy_AM|ARMSCII-8"
  # For Wine, which takes the ANSI code page from a locale the C library has.
  "fr_CA.UTF-8|fr_CA|UTF-8"
  "ru_RU.UTF-8|ru_RU|UTF-8"
  "ja_JP.UTF-8|ja_JP|UTF-8"
  "pl_PL.UTF-8|pl_PL|UTF-8"
  "cs_CZ.UTF-8|cs_CZ|UTF-8"
  "sl_SI.UTF-8|sl_SI|UTF-8"
  "ar_EG.UTF-8|ar_EG|UTF-8")

if(TRMSG_BUILD_LOCALES)
  find_program(TRMSG_LOCALEDEF localedef REQUIRED)
  set(stamps)
  foreach(entry IN LISTS TRMSG_LOCALES)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 name)
    list(GET fields 1 source)
    list(GET fields 2 charmap)
    set(stamp "${TRMSG_LOCALE_DIR}/${name}/LC_CTYPE")
    add_custom_command(OUTPUT "${stamp}"
      COMMAND ${CMAKE_COMMAND} -DLOCALEDEF=${TRMSG_LOCALEDEF} -DSOURCE=${source}
              -DCHARMAP=${charmap} -DOUTPUT=${TRMSG_LOCALE_DIR}/${name}
              -P "${PROJECT_SOURCE_DIR}/cmake/localedef.cmake"
      COMMENT "Compiling locale ${name}"
      VERBATIM)
    list(APPEND stamps "${stamp}")
  endforeach()
  add_custom_target(trmsg_locales ALL DEPENDS ${stamps})
endif()
