# Installation and the Debian package: the three programs, the desktop entry and icon, the udev rule
# for the USB serial adapters and qdtool's manual page. `cmake --build build --target package` (or
# `cpack` in the build folder) writes qdsystem_<version>_<arch>.deb.
include(GNUInstallDirs)

set(QD_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)

install(TARGETS qdsystem qdtool qd310sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QD_DIST_DIR}/linux/qdsystem.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QD_DIST_DIR}/linux/qdsystem.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 32 48 64 128 256)
  install(FILES ${QD_DIST_DIR}/linux/icons/qdsystem-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME qdsystem.png)
endforeach()
install(FILES ${QD_DIST_DIR}/man/qdtool.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
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
set(CPACK_PACKAGE_DESCRIPTION
    "QDsystem edits the configuration of a QD310 laundry detergent dosing system, reads it from and
writes it to the controller over a USB serial adapter or a gateway server, shows machines and pumps
live, reads the consumption and alarm logs and updates firmware. The package holds the desktop tool
qdsystem, the command-line tool qdtool and the simulated dosing system qd310sim.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY qdsystem)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
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
include(CPack)
