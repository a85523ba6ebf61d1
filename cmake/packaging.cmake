# SPDX-License-Identifier: Apache-2.0
# Debian packages (cpack -G DEB, ./run package), split as Debian splits a
# library: libvantix-zelnar2 (shared libraries, udev rule),
# libvantix-zelnar-dev (headers, .pc, CMake files, the static virtual pad),
# vantix-tools (the programs, their man pages and vantix-bridge's unit) and
# python3-vantix (the Python binding). Dependencies on system libraries come
# from dpkg-shlibdeps.
set(VANTIX_DEB_MAINTAINER "libvantix-zelnar developers <vantix-zelnar@lists.vantix.invalid>")
set(VANTIX_DEB_CHANGELOG_DATE "Tue, 08 Dec 2026 00:00:00 +0000")

# Each package carries its copyright file and changelog, as Debian policy
# asks (a plain install gets them too).
set(docs ${CMAKE_BINARY_DIR}/package-docs)
configure_file(cmake/debian-changelog.in ${docs}/changelog @ONLY)
execute_process(COMMAND gzip -9nf ${docs}/changelog)
set(components runtime development tools python)
set(packages libvantix-zelnar2 libvantix-zelnar-dev vantix-tools python3-vantix)
foreach(component package IN ZIP_LISTS components packages)
  install(FILES cmake/debian-copyright RENAME copyright
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
  install(FILES ${docs}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
  string(TOUPPER ${component} COMPONENT)
  set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_NAME ${package})
endforeach()

# The documentation: the README and docs/ with the development files and the
# tools (whose bridge protocol is there), the C examples with the
# development files, the Python example with the binding.
file(GLOB vantix_docs ${CMAKE_SOURCE_DIR}/docs/*.md)
install(FILES README.md ${vantix_docs} DESTINATION ${VANTIX_DEV_DOC_DIR} COMPONENT development)
install(FILES README.md ${vantix_docs} DESTINATION ${VANTIX_TOOLS_DOC_DIR} COMPONENT tools)
install(DIRECTORY examples/ DESTINATION ${VANTIX_DEV_DOC_DIR}/examples COMPONENT development
  FILES_MATCHING PATTERN "*.c" PATTERN "*.h" PATTERN python EXCLUDE)
install(FILES examples/python/sign.py DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/python3-vantix/examples
  COMPONENT python)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME libvantix-zelnar)
set(CPACK_PACKAGE_CONTACT "${VANTIX_DEB_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# The tools link this build's libraries; their package depends on ours.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/src/signature
  ${CMAKE_BINARY_DIR}/src/document)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY "=")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vantix.invalid/zelnar")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
# Pure Python: it loads the libraries by SONAME (dpkg-shlibdeps sees no ELF
# file in it), so it depends on the runtime package of this very build.
set(CPACK_DEBIAN_PYTHON_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3:any")
# The .pc files name these, so the development package brings them.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libudev-dev, libicu-dev, libssl-dev, libpng-dev, libqpdf-dev")
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
set(CPACK_COMPONENT_PYTHON_DEPENDS runtime)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# ldconfig runs through dpkg's trigger; the package's own postinst and
# postrm (which also keep CPack from writing ones calling ldconfig) apply
# the udev rule to pads already plugged in.
set(control ${CMAKE_BINARY_DIR}/package-control)
configure_file(cmake/debian-triggers ${control}/triggers COPYONLY)
set(scripts postinst postrm)
set(script_actions configure remove)
foreach(script VANTIX_DEB_SCRIPT_ACTION IN ZIP_LISTS scripts script_actions)
  configure_file(cmake/debian-udev-trigger.in ${control}/${script} @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${control}/triggers ${control}/postinst ${control}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "library for USB signature pads
A flat C API to list and open USB signature pads, receive pen, button
and card input, configure them and draw on their display, and a
library that captures and exports signatures (SVG, PNG, InkML, JSON),
and one that signs PDF documents with them (visible ink, the sealed
signature record, PAdES).
.
The udev rule lets the user logged in at the seat open the pads.")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "library for USB signature pads - development files
Headers, pkg-config and CMake package files for libvantix-zelnar and its
signature library, and the virtual pad (a static library) that
applications use in tests without hardware.")
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "tools for USB signature pads
vantix-tool lists pads, shows their configuration, monitors input, signs
and draws on the display; vantix-padsim plugs a virtual pad into the
running kernel; vantix-bridge serves pads to web pages on this machine
through a local WebSocket (with a systemd user unit).")
set(CPACK_COMPONENT_PYTHON_DESCRIPTION "Python binding of libvantix-zelnar, for USB signature pads
The vantix module drives USB signature pads from Python through the C
library with ctypes: list and open pads, receive pen, button and card
events, draw on the display and save signatures as SVG, PNG, InkML or
JSON.")
set(CPACK_COMPONENTS_ALL runtime development tools python)
include(CPack)
