# cmake --install: the data folder to <prefix>/lib/brinewave3, launchers, desktop entries,
# the icon and the XScreenSaver display mode.
include(GNUInstallDirs)

# Programs and data together, in a private folder of their own.
set(BW_LIBDIR ${CMAKE_INSTALL_PREFIX}/lib/brinewave3)
set(BW_BINDIR ${CMAKE_INSTALL_FULL_BINDIR})
set(BW_HACKDIR ${CMAKE_INSTALL_FULL_LIBEXECDIR}/xscreensaver)

set(generated ${CMAKE_BINARY_DIR}/install)
foreach(file brinewave3 brinewave3-help brinewave3-hack brinewave3-settings.desktop
             brinewave3-help.desktop brinewave3-screensaver.desktop brinewave3.xml)
    configure_file(${CMAKE_SOURCE_DIR}/data/linux/${file}.in ${generated}/${file} @ONLY)
endforeach()

install(DIRECTORY ${BW_DATA_DIR}/ DESTINATION ${BW_LIBDIR} USE_SOURCE_PERMISSIONS)
install(PROGRAMS ${generated}/brinewave3 ${generated}/brinewave3-help
        DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${generated}/brinewave3-hack DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver
        RENAME brinewave3)
install(FILES ${generated}/brinewave3.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${generated}/brinewave3-settings.desktop ${generated}/brinewave3-help.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/brinewave3-screensaver.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers RENAME brinewave3.desktop)
install(FILES ${BW_DATA_DIR}/Misc/brinewave3.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps OPTIONAL)
