# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Marrowby Industries
# The Debian package, built by CPack from the install rules: `cpack -G DEB`
# in a build folder makes holdrin_1.0-1_amd64.deb (scripts/package does it
# with Debian's own compiler flags).

# Compressed as Debian wants them: at most, and without a time stamp.
function(holdrin_gzip input output)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9nc ${input} > ${output}
    DEPENDS ${input}
    VERBATIM)
endfunction()

# The manual page goes wherever the program goes.
set(manual ${CMAKE_CURRENT_BINARY_DIR}/holdrin.1.gz)
holdrin_gzip(${PROJECT_SOURCE_DIR}/resources/holdrin.1 ${manual})
install(FILES ${manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# What Debian wants in every package, and a plain install does without: the
# copyright file and the package's changelog. The "debian" component puts
# them only into the package.
set(debian_changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz)
holdrin_gzip(${CMAKE_CURRENT_LIST_DIR}/changelog ${debian_changelog})
add_custom_target(compressed_docs ALL DEPENDS ${manual} ${debian_changelog})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${debian_changelog}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/holdrin COMPONENT debian EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME holdrin)
set(CPACK_PACKAGE_VENDOR "Marrowby Industries")
set(CPACK_PACKAGE_CONTACT "Marrowby Industries <holdrin@marrowby.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "look up who holds an internet domain")
set(CPACK_PACKAGE_DESCRIPTION "Holdrin is a small desktop program that asks the WHOIS servers who holds
an internet domain. Type a domain, press Query, and the registry's record,
and the registrar's where the registry names one, appear in the window.
Where a server no longer answers WHOIS, the record is fetched over RDAP.
The reply can be saved as a text file or printed through a print preview.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The program's own files, then the ones only the package carries.
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/"
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.marrowby.com/)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from dpkg-shlibdeps. Links open through xdg-open on a
# plain desktop; the windows name faces that these fonts stand in for, and
# their layout is measured against them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, fonts-liberation2, fonts-comic-neue")

include(CPack)
