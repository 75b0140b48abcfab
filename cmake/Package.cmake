# cmake --build build --target package: build/brinewave3_<version>_amd64.deb, which installs
# under /usr what `cmake --install --prefix /usr` does, with its Depends from dpkg-shlibdeps.
set(BW_MAINTAINER "Brinewave3 maintainers <brinewave3@orvanta.example>")

# The package's papers: its changelog and copyright in /usr/share/doc, compressed as Debian
# wants them (gzip -9n keeps no name or time, so two builds give the same bytes).
set(BW_PACKAGE_DOCS ${CMAKE_BINARY_DIR}/package-docs)
configure_file(${CMAKE_SOURCE_DIR}/data/linux/changelog.in ${BW_PACKAGE_DOCS}/changelog @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/linux/copyright.in ${BW_PACKAGE_DOCS}/copyright @ONLY)
add_custom_command(OUTPUT ${BW_PACKAGE_DOCS}/changelog.gz
    COMMAND gzip -9n -c ${BW_PACKAGE_DOCS}/changelog > ${BW_PACKAGE_DOCS}/changelog.gz
    DEPENDS ${BW_PACKAGE_DOCS}/changelog)
add_custom_target(bw_package_docs ALL DEPENDS ${BW_PACKAGE_DOCS}/changelog.gz)
install(FILES ${BW_PACKAGE_DOCS}/changelog.gz ${BW_PACKAGE_DOCS}/copyright
        DESTINATION share/doc/brinewave3)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brinewave3)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${BW_MAINTAINER})
set(CPACK_PACKAGE_VENDOR Orvanta)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animated aquarium screensaver")
set(CPACK_PACKAGE_DESCRIPTION
    "Brinewave3 shows an aquarium: a water backdrop, walls, the ocean bottom,
plants and sunken artifacts, with nine kinds of fish, a dolphin, a shark and
a turtle swimming across while bubbles rise. Every scenery object can be
dragged to a new place; a bubbling sound and your own playlist can play; an
exit password and power management are optional.
.
It runs full screen (brinewave3 /s, for example from xss-lock), as an
XScreenSaver display mode (brinewave3 --add-to-xscreensaver lists it), and in
MATE's screensaver.")
# The launchers and desktop entries are made for the prefix CMAKE_INSTALL_PREFIX names at
# install time, so the package is staged through DESTDIR with the prefix /usr itself.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.orvanta.example)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# No library link shows these: the "Arial" the scene asks for is Liberation Sans here, and
# the windows' own sans-serif is DejaVu Sans. Without DejaVu, fontconfig's sans-serif finds
# none of the faces it prefers and falls to Liberation Mono, so on a system with nothing else
# every dialog and the help would be set in a typewriter face.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core")
# The screensaver programs that can run it; xss-lock runs the full saver on any X11 desktop.
# xdg-open opens the web site and the power help page from the settings dialog. Qt's Wayland
# plugin lets the windows show natively on Wayland; without it they show through the desktop's
# X11 server (XWayland), and where there is none the programs say what to install.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "xscreensaver | mate-screensaver | xss-lock, xdg-utils, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xss-lock, mate-screensaver")
include(CPack)
