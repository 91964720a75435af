# Installation and the Debian package: the three programs with their manual pages, the desktop entry,
# icon and AppStream metadata, qdtool's bash completion, the udev rule for the USB serial adapters, and
# the copyright file and changelog Debian wants. `cmake --build build --target package` (or `cpack` in
# the build folder) writes qdsystem_<version>_<arch>.deb.
include(GNUInstallDirs)

set(QD_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
# Debian's place, whatever the project's name: share/doc/qdsystem.
set(QD_PACKAGE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/qdsystem)

install(TARGETS qdsystem qdtool qd310sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QD_DIST_DIR}/linux/qdsystem.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# AppStream wants the file named by the component id inside.
install(FILES ${QD_DIST_DIR}/linux/qdsystem.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME com.kestrelon.qdsystem.metainfo.xml)
install(FILES ${QD_DIST_DIR}/linux/qdsystem.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 32 48 64 128 256)
  install(FILES ${QD_DIST_DIR}/linux/icons/qdsystem-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME qdsystem.png)
endforeach()
install(FILES ${QD_DIST_DIR}/bash-completion/qdtool
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
# udev reads rules from /usr/lib/udev/rules.d, not from under /usr/local: the rule goes there whatever
# the install prefix (DESTDIR still applies).
set(QD_UDEV_RULES_DIR /usr/lib/udev/rules.d CACHE PATH "Where the udev rule for the USB serial adapters goes")
set(QD_UDEV_RULE ${QD_DIST_DIR}/linux/60-qdsystem-ftdi.rules)
if(EXISTS ${QD_UDEV_RULE})
  install(FILES ${QD_UDEV_RULE} DESTINATION ${QD_UDEV_RULES_DIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qdsystem)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kestrelon")
set(CPACK_PACKAGE_CONTACT "Kestrelon service software <service@kestrelon.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration and service tool of the QD310 dosing system")
# Lines of at most 80 characters: dpkg and apt show them as they are.
set(CPACK_PACKAGE_DESCRIPTION
    "QDsystem edits the configuration of a QD310 laundry detergent dosing system,
reads it from and writes it to the controller over a USB serial adapter or a
gateway server, shows machines and pumps live, reads the consumption and alarm
logs and updates firmware.

The package holds the desktop tool qdsystem, the command-line tool qdtool and
the simulated dosing system qd310sim.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY qdsystem)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt SQL loads its drivers as plugins, which the libraries' dependencies do not name: the history store
# needs SQLite's; PostgreSQL's only for a store shared by a team.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kestrelon.example/qdsystem")
# After installing, udev takes the new rule for adapters plugged in from then on; where udev does not run
# (containers, chroots) that step is left out.
set(QD_POSTINST ${CMAKE_BINARY_DIR}/debian/postinst)
file(WRITE ${QD_POSTINST} "#!/bin/sh
set -e
if [ \"$1\" = configure ] && command -v udevadm >/dev/null 2>&1; then
  udevadm control --reload-rules 2>/dev/null || true
fi
exit 0
")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${QD_POSTINST})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The copyright file (machine-readable, with the licence of LICENSE) and the Debian changelog
# (dist/debian/changelog.in: its fixed date keeps the package reproducible). The version has no Debian
# revision, so the package is native and policy names its changelog changelog.gz, not changelog.Debian.gz.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE QD_LICENSE)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
if(NOT QD_LICENSE MATCHES "Copyright \\(c\\) ([^\n]+)\n\n(.*)$")
  message(FATAL_ERROR "LICENSE has no line \"Copyright (c) YEAR HOLDER\" followed by the licence")
endif()
set(QD_COPYRIGHT ${CMAKE_MATCH_1})
string(STRIP "${CMAKE_MATCH_2}" QD_LICENSE_TEXT)
# A continuation line starts with a blank; an empty line is written " .".
string(REPLACE "\n\n" "\n.\n" QD_LICENSE_TEXT "${QD_LICENSE_TEXT}")
string(REPLACE "\n" "\n " QD_LICENSE_TEXT " ${QD_LICENSE_TEXT}")
configure_file(${QD_DIST_DIR}/debian/copyright.in ${CMAKE_BINARY_DIR}/dist/copyright @ONLY)
configure_file(${QD_DIST_DIR}/debian/changelog.in ${CMAKE_BINARY_DIR}/dist/debian/changelog @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/copyright DESTINATION ${QD_PACKAGE_DOC_DIR})

# Compressed as Debian wants them (cmake/GzipFile.cmake); the manual pages get the project's version.
find_program(QD_GZIP gzip REQUIRED)
set(QD_COMPRESSED)
function(qd_compress source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${CMAKE_COMMAND} -DIN=${source} -DOUT=${output} -DVERSION=${ARGN}
                             -DGZIP=${QD_GZIP} -P ${CMAKE_SOURCE_DIR}/cmake/GzipFile.cmake
                     DEPENDS ${source} ${CMAKE_SOURCE_DIR}/cmake/GzipFile.cmake VERBATIM)
  set(QD_COMPRESSED ${QD_COMPRESSED} ${output} PARENT_SCOPE)
endfunction()
foreach(program qdsystem qdtool qd310sim)
  qd_compress(${QD_DIST_DIR}/man/${program}.1 ${CMAKE_BINARY_DIR}/dist/man/${program}.1.gz ${PROJECT_VERSION})
  install(FILES ${CMAKE_BINARY_DIR}/dist/man/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
qd_compress(${CMAKE_BINARY_DIR}/dist/debian/changelog ${CMAKE_BINARY_DIR}/dist/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/dist/changelog.gz DESTINATION ${QD_PACKAGE_DOC_DIR})
add_custom_target(qd_dist_files ALL DEPENDS ${QD_COMPRESSED})

include(CPack)
