# The Debian package, built by scripts/package.sh with CPack:
#   cpack -G DEB --config build/CPackConfig.cmake  ->  build/tarnwell_VERSION_ARCH.deb
#
# Dependencies come from the binaries (dpkg-shlibdeps); the ODBC drivers are
# suggestions, as a data source may use any driver. There are no maintainer
# scripts: shared-mime-info, desktop-file-utils, hicolor-icon-theme and man-db
# watch their folders with dpkg file triggers, so installing or removing the
# package's MIME type, desktop entry, icons and manual pages updates their
# databases without a postinst or postrm of ours.

# Debian wants the copyright and, in a native package, the changelog in the
# documentation folder.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${TARNWELL_DOCDIR})
set(tarnwell_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${tarnwell_changelog}
  COMMAND ${TARNWELL_GZIP} -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${tarnwell_changelog}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the changelog")
add_custom_target(tarnwell_changelog ALL DEPENDS ${tarnwell_changelog})
install(FILES ${tarnwell_changelog} DESTINATION ${TARNWELL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwell)
set(CPACK_PACKAGE_VENDOR "The Tarnwell developers")
set(CPACK_PACKAGE_CONTACT "The Tarnwell developers <tarnwell@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "SQL worksheet for ODBC data sources")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TARNWELL_PROJECT_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libsqliteodbc, odbc-postgresql")
# The summary above is the synopsis line; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tarnwell is a worksheet for SQL scripts: one window with a read-only output
pane above an editable script pane. It connects to any ODBC data source and
runs a script's statements one by one, showing the echo of each statement,
result sets as fixed-width tables with row counts, and the driver's messages.
A running statement can be cancelled; earlier scripts come back from the
history.

The package also holds tarnwell-run, which runs the same scripts without a
window for shells, scheduled jobs and continuous integration, and writes
result sets as text tables, CSV, TSV, JSON or Markdown.")

include(CPack)

# What the package holds, built without the tests: scripts/package.sh builds
# this target, and CPack does not build everything first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
add_custom_target(tarnwell_package_files)
add_dependencies(tarnwell_package_files tarnwell tarnwell-run tarnwell_man_pages tarnwell_changelog)
