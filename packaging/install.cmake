# Installation and the Debian package. The program goes to bin, its desktop entry, AppStream
# metainfo and icon under share, each named by the application id so that software centres and
# desktops tie the three together. "cpack -G DEB" in a build folder packs what "cmake --install"
# puts in place. A fuzzing build makes no program and installs nothing.
if(VENNIC_FUZZ)
  return()
endif()
include(GNUInstallDirs)

set(VENNIC_APP_ID "io.github.vennic.Vennic")
set(VENNIC_PACKAGE_CONTACT "Vennic developers <vennic@users.noreply.github.com>"
    CACHE STRING "Maintainer named in the Debian package")

set(_vennic_packaging ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS vennic RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_vennic_packaging}/vennic.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        RENAME ${VENNIC_APP_ID}.desktop)
install(FILES ${_vennic_packaging}/vennic.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME ${VENNIC_APP_ID}.metainfo.xml)
install(FILES ${_vennic_packaging}/vennic.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_vennic_packaging}/vennic.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VENNIC_APP_ID}.svg)

# The checks of the packaged files run with the tests when their tools are present; without them
# .ci/install-check.sh still validates what the package installs.
if(VENNIC_BUILD_TESTS)
  add_test(NAME Packaging.FilesAgree
           COMMAND ${CMAKE_COMMAND} -DMETAINFO=${_vennic_packaging}/vennic.metainfo.xml
                   -DDESKTOP=${_vennic_packaging}/vennic.desktop -DAPP_ID=${VENNIC_APP_ID}
                   -DVERSION=${PROJECT_VERSION} -P ${_vennic_packaging}/check-files.cmake)
  find_program(VENNIC_DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(VENNIC_DESKTOP_FILE_VALIDATE)
    add_test(NAME Packaging.DesktopEntryValid
             COMMAND ${VENNIC_DESKTOP_FILE_VALIDATE} ${_vennic_packaging}/vennic.desktop)
  endif()
  find_program(VENNIC_APPSTREAMCLI appstreamcli)
  if(VENNIC_APPSTREAMCLI)
    add_test(NAME Packaging.MetainfoValid
             COMMAND ${VENNIC_APPSTREAMCLI} validate --no-net --explain
                     ${_vennic_packaging}/vennic.metainfo.xml)
  endif()
endif()

set(CPACK_PACKAGE_NAME vennic)
set(CPACK_PACKAGE_VENDOR "Vennic developers")
set(CPACK_PACKAGE_CONTACT "${VENNIC_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Two-pane folder lister: sizes, comparison, printing and file commands")
# Debian wraps no description lines itself: they are kept under 80 columns here.
set(CPACK_PACKAGE_DESCRIPTION
    "Vennic shows two folders side by side. Each pane lists a folder's\n\
sub-folders with the total size of everything beneath each one, and its files\n\
with type, size, dates and attributes. A listing can be filtered by a name\n\
pattern, sorted by any column, printed or previewed, saved to a file and opened\n\
again; the two panes can be compared by name, and marked files copied or\n\
deleted.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the libraries the program links. The window-system plugin Qt loads at
# start-up, and a font for it to draw with, are no linked libraries and are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
include(CPack)
