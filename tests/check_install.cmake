# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Marrowby Industries
# Installs the build into a fresh prefix, as `cmake --install` does for a
# user, and checks that the program, its menu entry, its software-centre
# metadata and its icons land where the desktop looks for them and agree
# with each other.
# Usage: cmake -DBUILD_DIR=... -DPREFIX=... -DDESKTOP_FILE_VALIDATE=... -P check_install.cmake

function(fail message)
  message(FATAL_ERROR "${message}")
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  fail("cmake --install failed:\n${output}")
endif()

set(program "${PREFIX}/bin/holdrin")
set(entry "${PREFIX}/share/applications/com.marrowby.Holdrin.desktop")
set(metainfo "${PREFIX}/share/metainfo/com.marrowby.Holdrin.metainfo.xml")
set(sizes 32 48 64 128 256)

execute_process(COMMAND test -f "${program}" -a -x "${program}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  fail("${program} is missing or not executable")
endif()
if(NOT EXISTS "${entry}")
  fail("${entry} is missing")
endif()

if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${entry}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR output MATCHES "error|warning")
    fail("the installed menu entry does not validate:\n${output}")
  endif()
else()
  message(STATUS "desktop-file-validate is not installed: the menu entry was not validated")
endif()

# The entry starts the installed program by name, and names the installed icon.
file(STRINGS "${entry}" exec REGEX "^Exec=")
file(STRINGS "${entry}" icon REGEX "^Icon=")
if(NOT exec STREQUAL "Exec=holdrin")
  fail("the menu entry starts '${exec}', not the installed program")
endif()
if(NOT icon STREQUAL "Icon=holdrin")
  fail("the menu entry names '${icon}', not the installed icon")
endif()

# The software centre finds the menu entry by the name the metadata gives.
if(NOT EXISTS "${metainfo}")
  fail("${metainfo} is missing")
endif()
file(STRINGS "${metainfo}" launchable REGEX "<launchable type=\"desktop-id\">")
get_filename_component(entry_name "${entry}" NAME)
if(NOT launchable MATCHES ">${entry_name}</launchable>")
  fail("the metadata launches '${launchable}', not the installed menu entry ${entry_name}")
endif()

# Each icon is as large as the folder it sits in says: the PNG header holds
# width and height as 4-byte big-endian numbers from byte 16 on.
foreach(size IN LISTS sizes)
  set(png "${PREFIX}/share/icons/hicolor/${size}x${size}/apps/holdrin.png")
  if(NOT EXISTS "${png}")
    fail("${png} is missing")
  endif()
  file(READ "${png}" signature HEX LIMIT 8)
  file(READ "${png}" header HEX OFFSET 16 LIMIT 8)
  string(SUBSTRING "${header}" 0 8 width)
  string(SUBSTRING "${header}" 8 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
    fail("${png} is not a ${size} by ${size} PNG (${width} by ${height})")
  endif()
endforeach()

# Nothing else is installed but the metadata and the manual page: no test
# programs or build leftovers.
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(LENGTH installed count)
list(LENGTH sizes icons)
math(EXPR expected "${icons} + 4")
if(NOT count EQUAL expected)
  fail("expected ${expected} installed files, found ${count}: ${installed}")
endif()
