# SPDX-License-Identifier: Apache-2.0
# Install rules (GNUInstallDirs): libraries, headers, programs and man pages,
# pkg-config files, the CMake package, the udev rule and the Python binding.
# Components match the Debian packages cmake/packaging.cmake builds: runtime
# (shared libraries, udev rule), development (headers, .pc, CMake files, the
# static virtual pad), tools (programs, man pages) and python (the binding).
include(CMakePackageConfigHelpers)

install(TARGETS vantix-zelnar vantix-signature vantix-padsim-shared
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development)
install(FILES include/vantix-zelnar.h include/vantix-zelnar.hpp include/vantix-signature.h
  include/vantix-signature.hpp padsim/include/vantix-padsim.h padsim/include/vantix-padsim.hpp
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
# PDF signing, where qpdf was found to build it.
if(TARGET vantix-document)
  install(TARGETS vantix-document
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development)
  install(FILES include/vantix-document.h include/vantix-document.hpp
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
endif()
# The virtual pad as a static archive too, for programs that link it in.
install(TARGETS vantix-padsim ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
# A stripped install (cmake --install --strip, packages) drops its debug
# information, as Debian's tools strip static libraries.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/libvantix-padsim.a\")
endif()" COMPONENT development)

# Programs, each with its man page (compressed, as Debian installs them).
set(programs vantix-tool vantix-padsim vantix-bridge)
set(program_targets vantix-tool vantix-padsim-program vantix-bridge)
foreach(program target IN ZIP_LISTS programs program_targets)
  if(TARGET ${target})
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
    # Pages name installed paths (@VARIABLE@), filled in here.
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1.gz)
    configure_file(tools/${program}/${program}.1 ${CMAKE_BINARY_DIR}/man/${program}.1 @ONLY)
    add_custom_command(OUTPUT ${page}
      COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/man/${program}.1 > ${page}
      DEPENDS ${CMAKE_BINARY_DIR}/man/${program}.1)
    add_custom_target(${program}-man ALL DEPENDS ${page})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tools)
  endif()
endforeach()

# vantix-bridge as a systemd user service (systemctl --user enable --now
# vantix-bridge), with the tools.
set(VANTIX_SYSTEMD_USER_DIR "lib/systemd/user" CACHE STRING
  "Where the vantix-bridge user unit is installed (relative to the prefix or absolute)")
if(TARGET vantix-bridge)
  # The unit names the program by the prefix it is installed under, which
  # for a package (cpack) or --prefix is known only when installing.
  install(CODE "
    set(unit_dir \"${VANTIX_SYSTEMD_USER_DIR}\")
    if(NOT IS_ABSOLUTE \"\${unit_dir}\")
      set(unit_dir \"\${CMAKE_INSTALL_PREFIX}/\${unit_dir}\")
    endif()
    set(program \"${CMAKE_INSTALL_BINDIR}/vantix-bridge\")
    if(NOT IS_ABSOLUTE \"\${program}\")
      set(program \"\${CMAKE_INSTALL_PREFIX}/\${program}\")
    endif()
    file(READ \"${CMAKE_SOURCE_DIR}/tools/vantix-bridge/vantix-bridge.service\" unit)
    string(REPLACE \"@VANTIX_BRIDGE_PROGRAM@\" \"\${program}\" unit \"\${unit}\")
    message(STATUS \"Installing: \$ENV{DESTDIR}\${unit_dir}/vantix-bridge.service\")
    file(WRITE \"\$ENV{DESTDIR}\${unit_dir}/vantix-bridge.service\" \"\${unit}\")
  " COMPONENT tools)
endif()

# pkg-config files find the prefix from their own place, so the same files
# serve a staging prefix, /usr/local and a package.
file(RELATIVE_PATH VANTIX_PC_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
string(REGEX REPLACE "/$" "" VANTIX_PC_PREFIX "${VANTIX_PC_PREFIX}")
set(pkgconfig_files vantix-zelnar vantix-signature vantix-padsim)
if(TARGET vantix-document)
  list(APPEND pkgconfig_files vantix-document)
endif()
foreach(pc IN LISTS pkgconfig_files)
  configure_file(cmake/${pc}.pc.in ${CMAKE_BINARY_DIR}/pkgconfig/${pc}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/pkgconfig/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT development)
endforeach()

# find_package(vantix-zelnar 2.2 CONFIG): vantix::zelnar, vantix::signature,
# vantix::padsim and (where built) vantix::document.
set(VANTIX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/vantix-zelnar)
configure_package_config_file(cmake/vantix-zelnar-config.cmake.in
  ${CMAKE_BINARY_DIR}/cmake-package/vantix-zelnar-config.cmake
  INSTALL_DESTINATION ${VANTIX_CMAKE_DIR} PATH_VARS CMAKE_INSTALL_LIBDIR CMAKE_INSTALL_INCLUDEDIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/cmake-package/vantix-zelnar-config-version.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/cmake-package/vantix-zelnar-config.cmake
  ${CMAKE_BINARY_DIR}/cmake-package/vantix-zelnar-config-version.cmake
  DESTINATION ${VANTIX_CMAKE_DIR} COMPONENT development)

# The udev rule names each pad by vendor and product: udev compares idVendor
# and idProduct as four lower-case hex digits. Other devices of the vendor
# ID (shared by many open-hardware projects) keep their permissions.
function(vantix_udev_hex number out)
  math(EXPR hex "${number}" OUTPUT_FORMAT HEXADECIMAL)
  string(REGEX REPLACE "^0x" "" hex "${hex}")
  string(TOLOWER "000${hex}" hex)
  string(REGEX MATCH "....$" hex "${hex}")
  set(${out} ${hex} PARENT_SCOPE)
endfunction()
vantix_udev_hex(${VANTIX_VENDOR_ID} VANTIX_UDEV_VENDOR)
set(VANTIX_UDEV_MATCHES "")
foreach(product IN LISTS VANTIX_PAD_PRODUCT_IDS)
  vantix_udev_hex(${product} hex)
  string(APPEND VANTIX_UDEV_MATCHES
    "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"${VANTIX_UDEV_VENDOR}\", ATTRS{idProduct}==\"${hex}\", TAG+=\"uaccess\"\n")
endforeach()
configure_file(cmake/70-vantix-zelnar.rules.in ${CMAKE_BINARY_DIR}/udev/70-vantix-zelnar.rules @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/udev/70-vantix-zelnar.rules DESTINATION ${VANTIX_UDEV_RULES_DIR} COMPONENT runtime)

# The Python binding, where Debian's python3 looks for modules of packages.
set(VANTIX_PYTHON_DIR "lib/python3/dist-packages" CACHE STRING
  "Where the Python binding is installed (relative to the prefix or absolute)")
install(DIRECTORY bindings/python/vantix DESTINATION ${VANTIX_PYTHON_DIR} COMPONENT python
  FILES_MATCHING PATTERN "*.py" PATTERN "py.typed" PATTERN "__pycache__" EXCLUDE)
