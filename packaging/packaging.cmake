# The Debian package: `cpack -G DEB` in a build tree. It holds the installation's layout
# under one prefix, links for the programs on PATH, and what the desktop needs to list the
# program and open project files with it.
set(ZMX_PACKAGE_PREFIX /opt/zmxstudio CACHE PATH "Where the Debian package installs the program and its data")
set(ZMX_PACKAGE_MAINTAINER "Dravenhol Electronics <zmxstudio@dravenhol.invalid>" CACHE STRING
    "Maintainer field of the Debian package")

set(zmx_package_dir ${CMAKE_BINARY_DIR}/package)
file(MAKE_DIRECTORY ${zmx_package_dir}/links)
foreach(program zmxstudio tolvane)
    file(CREATE_LINK ${ZMX_PACKAGE_PREFIX}/bin/${program} ${zmx_package_dir}/links/${program} SYMBOLIC)
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/postinst.in ${zmx_package_dir}/postinst @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Outside the prefix: only the package installs these, never `cmake --install`.
install(FILES ${zmx_package_dir}/links/zmxstudio ${zmx_package_dir}/links/tolvane
    DESTINATION /usr/bin COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/zmxstudio.desktop
    DESTINATION /usr/share/applications COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/zmxstudio-mime.xml RENAME zmxstudio.xml
    DESTINATION /usr/share/mime/packages COMPONENT desktop EXCLUDE_FROM_ALL)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/icons/hicolor
    DESTINATION /usr/share/icons COMPONENT desktop EXCLUDE_FROM_ALL)

set(CPACK_PACKAGE_NAME zmxstudio)
set(CPACK_PACKAGE_VENDOR "Dravenhol Electronics")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "IDE for microcontroller firmware")
set(CPACK_PACKAGE_DESCRIPTION "ZMX Studio edits, builds and simulates firmware for microcontrollers.
It drives installed tool chains (GNU AVR, SDCC for the 8051, gputils for
PIC16) through generated Makefiles, turns their messages into links to the
source, and hands the firmware to its simulator, vask. The console tool
tolvane maps a tool's exit codes to 0 or 1.")
set(CPACK_PACKAGE_CONTACT ${ZMX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX ${ZMX_PACKAGE_PREFIX})
set(CPACK_INSTALL_PREFIX ${ZMX_PACKAGE_PREFIX})
# Absolute destinations (/usr/bin, /usr/share) land in the package, not on this machine.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/"
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};desktop;/")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZMX_PACKAGE_MAINTAINER})
# dpkg-shlibdeps names the libraries' packages (Qt, QScintilla, libsimavr) with their versions;
# make runs every build.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "make")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "gcc-avr, avr-libc, binutils-avr, sdcc, gputils, simavr, sdcc-ucsim, gpsim, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${zmx_package_dir}/postinst ${CMAKE_CURRENT_LIST_DIR}/postrm ${CMAKE_CURRENT_LIST_DIR}/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_GENERATOR DEB)
include(CPack)
