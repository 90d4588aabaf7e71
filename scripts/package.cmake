# Installation and the Debian package (included by the top CMakeLists.txt).
#
#   cmake --install build --prefix /usr/local   the programs and their manual pages
#   cd build && cpack -G DEB                    kivrasetl_<version>-1_<arch>.deb
#
# Only the program goes in: the simulator, the lab and the tests stay on the
# development machine.
include(GNUInstallDirs)

# Manual pages, English and Japanese, compressed as Debian keeps them.
set(KIVRA_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(KIVRA_MAN_PAGES)
foreach(page KIVRASetL.1:man1:KIVRASetL KIVRASetL.ja.1:ja/man1:KIVRASetL
             kivraset.1:man1:kivraset kivraset.ja.1:ja/man1:kivraset)
  string(REPLACE ":" ";" page ${page})
  list(GET page 0 source)
  list(GET page 1 section_dir)
  list(GET page 2 program)
  set(gz ${KIVRA_MAN_DIR}/${section_dir}/${program}.1.gz)
  add_custom_command(
    OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KIVRA_MAN_DIR}/${section_dir}
    COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/docs/${source} > ${gz}
    DEPENDS ${CMAKE_SOURCE_DIR}/docs/${source}
    COMMENT "Compressing manual page ${source}")
  list(APPEND KIVRA_MAN_PAGES ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/${section_dir})
endforeach()

# Who answers for the package: "KIVRASetL maintainers" at the address the
# builder gives (-DKIVRA_MAINTAINER_ADDRESS=...), in the package's Maintainer
# field and its change log.
set(KIVRA_MAINTAINER_ADDRESS "kivrasetl@example.com" CACHE STRING
    "E-mail address of the package's maintainers")
set(KIVRA_MAINTAINER "KIVRASetL maintainers <${KIVRA_MAINTAINER_ADDRESS}>")

# The package's own change log and copyright statement.
configure_file(${CMAKE_SOURCE_DIR}/docs/changelog.Debian.in ${CMAKE_BINARY_DIR}/changelog.Debian @ONLY)
set(KIVRA_DEB_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(
  OUTPUT ${KIVRA_DEB_CHANGELOG}
  COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/changelog.Debian > ${KIVRA_DEB_CHANGELOG}
  DEPENDS ${CMAKE_BINARY_DIR}/changelog.Debian)
add_custom_target(kivra-docs ALL DEPENDS ${KIVRA_MAN_PAGES} ${KIVRA_DEB_CHANGELOG})

install(TARGETS KIVRASetL kivraset RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KIVRA_DEB_CHANGELOG} ${CMAKE_SOURCE_DIR}/docs/copyright
              ${CMAKE_SOURCE_DIR}/docs/settings-file.md
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/kivrasetl)
install(FILES ${CMAKE_SOURCE_DIR}/docs/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME kivrasetl)

# Debian package. The architecture is the build's target: scripts/cross sets
# KIVRA_DEB_ARCH for the boards; a native build asks dpkg.
set(KIVRA_DEB_ARCH "" CACHE STRING "Debian architecture of the package (empty: this machine's)")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kivrasetl)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KIVRA_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KIVRA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(KIVRA_DEB_ARCH)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${KIVRA_DEB_ARCH})
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set-up tools for network I/O units")
# CPack puts the summary on the first line and this below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "KIVRASetL searches the local network for digital and analog I/O units
with serial-to-Ethernet or WiFi modules, lists every unit with its
MAC address, IP address and model, and changes a unit's IP address,
input-extension links, mail alerts and analog settings. It runs in a
text terminal of at least 80x24 characters; its screens are Japanese.
.
kivraset is its command line for whole plants and scripts: it lists
every unit of every network of the computer, as a table or as JSON.
.
Both programs need only the C library: KIVRASetL is linked statically
with the curses libraries, kivraset uses none.")
include(CPack)
