# Compiles Qt translation sources (.ts) into catalogues (.qm) with lrelease.
find_program(TRMSG_LRELEASE NAMES lrelease-qt6 lrelease
  HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_LIBEXECS}"
        /usr/lib/qt6/bin /usr/lib/qt6/libexec
  REQUIRED)

# trmsg_add_catalogues(<target> OUTPUT_DIR <dir> SOURCES <file.ts>...)
# Builds <dir>/<name>.qm for every <name>.ts, as part of <target>.
function(trmsg_add_catalogues target)
  cmake_parse_arguments(ARG "" "OUTPUT_DIR" "SOURCES" ${ARGN})
  set(outputs)
  foreach(ts IN LISTS ARG_SOURCES)
    get_filename_component(abs "${ts}" ABSOLUTE)
    get_filename_component(name "${ts}" NAME_WE)
    set(qm "${ARG_OUTPUT_DIR}/${name}.qm")
    add_custom_command(OUTPUT "${qm}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${ARG_OUTPUT_DIR}"
      COMMAND "${TRMSG_LRELEASE}" -silent "${abs}" -qm "${qm}"
      DEPENDS "${abs}"
      COMMENT "Compiling catalogue ${name}.qm"
      VERBATIM)
    list(APPEND outputs "${qm}")
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
