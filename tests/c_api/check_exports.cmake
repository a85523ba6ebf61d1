# SPDX-License-Identifier: Apache-2.0
# Compares the names a shared library exports with those its HEADER
# declares, both ways: nothing else leaves the library (no C++ runtime or
# internal symbol), every declared function and variable is exported, and
# each carries the library's version NODE.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND nm -D --defined-only ${LIBRARY} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()

file(READ ${HEADER} header)
# A name ends at "(", "[" or ";"; the last two would upset CMake's lists.
string(REGEX REPLACE "[[;]" "(" header "${header}")
string(REGEX MATCHALL "\nVANTIX_EXPORT[^(]*[ *\n][A-Za-z_][A-Za-z0-9_]*\\(" declarations "${header}")
set(declared "")
foreach(declaration IN LISTS declarations)
  string(REGEX MATCH "([A-Za-z_][A-Za-z0-9_]*)\\($" name "${declaration}")
  list(APPEND declared "${CMAKE_MATCH_1}")
endforeach()

set(exported "")
string(REPLACE "\n" ";" lines "${symbols}")
foreach(line IN LISTS lines)
  if(line MATCHES " A ${NODE}$" OR NOT line MATCHES " [A-Za-z] ([^ @]+)(@@?[^ ]*)?$")
    continue()
  endif()
  set(sym "${CMAKE_MATCH_1}")
  set(version "${CMAKE_MATCH_2}")
  if(sym MATCHES "^(_init|_fini|_edata|_end|__bss_start|__odr_asan[.].*)$")
    continue()
  endif()
  if(NOT sym IN_LIST declared)
    message(FATAL_ERROR "exported but not declared in ${HEADER}: ${sym}")
  endif()
  if(NOT version STREQUAL "@@${NODE}")
    message(FATAL_ERROR "${sym} is not in the version node ${NODE}")
  endif()
  list(APPEND exported "${sym}")
endforeach()

foreach(name IN LISTS declared)
  if(NOT name IN_LIST exported)
    message(FATAL_ERROR "declared but not exported: ${name}")
  endif()
endforeach()
list(LENGTH exported count)
message(STATUS "${count} symbols exported, all declared, all in ${NODE}")
