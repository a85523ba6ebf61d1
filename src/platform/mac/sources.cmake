# SPDX-License-Identifier: Apache-2.0
# The macOS driver's sources, shared by the macOS build of the library and
# the Linux build that runs the driver against the IOKit stand-in.
set(VANTIX_MAC_DRIVER_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/device_set.cpp
  ${CMAKE_CURRENT_LIST_DIR}/driver_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/feature_reports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hotplug.cpp
  ${CMAKE_CURRENT_LIST_DIR}/listing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/open_close.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pad_registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/properties.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reading.cpp)
# Platform hooks: on Linux the Linux driver's serve the library.
set(VANTIX_MAC_PLATFORM_HOOKS ${CMAKE_CURRENT_LIST_DIR}/os_hooks.cpp)
