# Debian packages, made by CPack from one build (cd build && cpack):
#   trmsg          the program and its manual page;
#   trmsg-lupdate  the extractor and its manual page; it alone needs shfmt,
#                  and it never runs trmsg, so it does not depend on it.
# Each carries what Debian's policy asks and lintian checks: the copyright
# file in Debian's machine-readable format (the MIT licence, from LICENSE),
# changelog.gz (a native package's changelog, from packaging/changelog) and
# manual pages compressed with gzip -9n.

set(packaging_dir ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${packaging_dir})

# The copyright file, in Debian's machine-readable format, from LICENSE (its
# text is expanded here; @ONLY keeps file(CONFIGURE) from expanding it again).
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _ "${licence}")
set(copyright_holder "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^.*Copyright \\(c\\) [^\n]*\n\n" "" licence "${licence}")
string(STRIP "${licence}" licence)
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REGEX REPLACE "\n" "\n " licence "${licence}")
file(CONFIGURE OUTPUT ${packaging_dir}/copyright CONTENT "\
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: trmsg

Files: *
Copyright: ${copyright_holder}
License: MIT
 ${licence}
" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)

# Compressed as Debian's policy wants: best compression, no name or time.
set(compressed)
foreach(file docs/trmsg.1 docs/trmsg-lupdate.1 packaging/changelog)
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${packaging_dir}/${name}.gz
    COMMAND sh -c "gzip -9 -n -c \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/${file} ${packaging_dir}/${name}.gz
    DEPENDS ${file} VERBATIM)
  list(APPEND compressed ${packaging_dir}/${name}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed})

# Install components: the program's rules name theirs (trmsg); trmsg-lupdate's
# take theirs (lupdate) from CMAKE_INSTALL_DEFAULT_COMPONENT_NAME, set where
# its directory is added.
foreach(component_package trmsg:trmsg lupdate:trmsg-lupdate)
  string(REPLACE ":" ";" component_package ${component_package})
  list(GET component_package 0 component)
  list(GET component_package 1 package)
  install(FILES ${packaging_dir}/${package}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
  install(FILES ${packaging_dir}/copyright ${packaging_dir}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trmsg)
set(CPACK_PACKAGE_CONTACT "trmsg developers <maintainers@users.noreply.c-seed-50f71f5b.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL trmsg lupdate)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# The first line of a description is the summary; the others stay under 80
# columns, as lintian checks.
set(CPACK_DEBIAN_TRMSG_PACKAGE_NAME trmsg)
set(CPACK_DEBIAN_TRMSG_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_TRMSG_DESCRIPTION "\
print a product message in the current locale from Qt catalogues
trmsg is called by shell scripts and installers once per message: it loads
the product's Qt translation catalogue (.qm) for the current locale,
translates one message, fills its %1, %2 markers and prints it in the
locale's encoding. It also diagnoses the locale's encoding.")

set(CPACK_DEBIAN_LUPDATE_PACKAGE_NAME trmsg-lupdate)
set(CPACK_DEBIAN_LUPDATE_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_LUPDATE_PACKAGE_DEPENDS shfmt) # scripts are parsed by shfmt --to-json
set(CPACK_DEBIAN_LUPDATE_PACKAGE_SUGGESTS "trmsg, qt6-l10n-tools") # lrelease compiles the .ts files
set(CPACK_DEBIAN_LUPDATE_DESCRIPTION "\
extract the messages of trmsg calls in shell scripts into Qt .ts files
trmsg-lupdate is to shell scripts that call trmsg what Qt's lupdate is to
C++: it finds the messages the scripts ask trmsg to translate and writes them
into Qt translation sources (.ts) for Qt Linguist, or brings existing ones up
to date, keeping every translation. Scripts are parsed by shfmt.")
include(CPack)
