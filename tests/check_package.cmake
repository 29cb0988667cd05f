# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Marrowby Industries
# Builds the Debian package from the build folder with CPack and checks it
# as apt would meet it: its files, its control fields and lintian's verdict.
# Expected files and fields sit beside this script in package/.
# Usage: cmake -DBUILD_DIR=... -DWORK_DIR=... -DCPACK=... -DLINTIAN=... -P check_package.cmake

function(fail message)
  message(FATAL_ERROR "${message}")
endfunction()

function(run output_variable)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    fail("${ARGN} failed:\n${output}${errors}")
  endif()
  set(${output_variable} "${output}" PARENT_SCOPE)
endfunction()

# Leaves what the package holds beside it, to compare or copy over.
function(compare_with expected_file actual)
  file(WRITE "${WORK_DIR}/${expected_file}" "${actual}")
  file(READ "${CMAKE_CURRENT_LIST_DIR}/package/${expected_file}" expected)
  if(NOT actual STREQUAL expected)
    fail("the package's ${expected_file} (${WORK_DIR}/${expected_file}) differs from package/${expected_file}")
  endif()
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
run(ignored "${CPACK}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK_DIR}")
run(architecture dpkg --print-architecture)
string(STRIP "${architecture}" architecture)
set(deb "${WORK_DIR}/holdrin_1.0-1_${architecture}.deb")
if(NOT EXISTS "${deb}")
  fail("${deb} was not made")
endif()

# Each file's mode and path; sizes and dates change from build to build,
# and lintian judges the folders.
run(listing dpkg-deb -c "${deb}")
string(REPLACE "\n" ";" entries "${listing}")
set(files "")
foreach(entry IN LISTS entries)
  if(entry MATCHES "^(-[^ ]+) .* \\./(.+)$")
    string(APPEND files "${CMAKE_MATCH_1} ${CMAKE_MATCH_2}\n")
  endif()
endforeach()
compare_with(files.txt "${files}")

# The fields apt shows, with the library versions that dpkg-shlibdeps reads
# off the system left out.
run(fields dpkg-deb -f "${deb}" Package Version Architecture Section Priority Maintainer Homepage Depends)
string(REGEX REPLACE " \\([^)]*\\)" "" fields "${fields}")
string(REPLACE "Architecture: ${architecture}" "Architecture: (this machine's)" fields "${fields}")
compare_with(control.txt "${fields}")

# Errors fail; the warnings kept are listed in README.md.
execute_process(COMMAND "${LINTIAN}" --fail-on error "${deb}" RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(NOT result EQUAL 0)
  fail("lintian finds errors in the package")
endif()
