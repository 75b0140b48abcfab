# cmake --install: the data folder to <prefix>/lib/brinewave3, launchers, desktop entries,
# the icon and the XScreenSaver display mode.
include(GNUInstallDirs)

set(BW_INSTALL_TEMPLATES brinewave3 brinewave3-help brinewave3-hack brinewave3-settings.desktop
    brinewave3-help.desktop brinewave3-screensaver.desktop brinewave3.xml)

# The launchers and entries name the installed programs by their full paths, so they are made
# for the prefix the install actually goes to (`cmake --install build --prefix P`).
function(bw_configure_install_files prefix out)
    set(BW_LIBDIR ${prefix}/lib/brinewave3)
    set(BW_BINDIR ${prefix}/bin)
    set(BW_HACKDIR ${prefix}/libexec/xscreensaver)
    foreach(file ${BW_INSTALL_TEMPLATES})
        configure_file(${CMAKE_SOURCE_DIR}/data/linux/${file}.in ${out}/${file} @ONLY)
    endforeach()
endfunction()

# For the configured prefix now (the tests read these), and again at install time.
bw_configure_install_files(${CMAKE_INSTALL_PREFIX} ${CMAKE_BINARY_DIR}/install)
set(generated ${CMAKE_BINARY_DIR}/install-prefix)
install(CODE "
    set(BW_INSTALL_TEMPLATES \"${BW_INSTALL_TEMPLATES}\")
    set(CMAKE_SOURCE_DIR \"${CMAKE_SOURCE_DIR}\")
    foreach(file \${BW_INSTALL_TEMPLATES})
        set(BW_LIBDIR \"\${CMAKE_INSTALL_PREFIX}/lib/brinewave3\")
        set(BW_BINDIR \"\${CMAKE_INSTALL_PREFIX}/bin\")
        set(BW_HACKDIR \"\${CMAKE_INSTALL_PREFIX}/libexec/xscreensaver\")
        configure_file(\"${CMAKE_SOURCE_DIR}/data/linux/\${file}.in\" \"${generated}/\${file}\" @ONLY)
    endforeach()
")

install(DIRECTORY ${BW_DATA_DIR}/ DESTINATION lib/brinewave3 USE_SOURCE_PERMISSIONS)
install(PROGRAMS ${generated}/brinewave3 ${generated}/brinewave3-help DESTINATION bin)
install(PROGRAMS ${generated}/brinewave3-hack DESTINATION libexec/xscreensaver RENAME brinewave3)
install(FILES ${generated}/brinewave3.xml DESTINATION share/xscreensaver/config)
install(FILES ${generated}/brinewave3-settings.desktop ${generated}/brinewave3-help.desktop
        DESTINATION share/applications)
install(FILES ${generated}/brinewave3-screensaver.desktop
        DESTINATION share/applications/screensavers RENAME brinewave3.desktop)
install(FILES ${BW_DATA_DIR}/Misc/brinewave3.png DESTINATION share/icons/hicolor/256x256/apps
        OPTIONAL)

# Manual pages, compressed as the man-db of every distribution reads them.
set(BW_MAN_PAGES)
foreach(page brinewave3.6 brinewave3-help.6)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/data/linux/${page} > ${CMAKE_BINARY_DIR}/man/${page}.gz
        DEPENDS ${CMAKE_SOURCE_DIR}/data/linux/${page})
    list(APPEND BW_MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(bw_man_pages ALL DEPENDS ${BW_MAN_PAGES})
install(FILES ${BW_MAN_PAGES} DESTINATION share/man/man6)

# The AppStream metadata software centres list the program by.
set(BW_APPSTREAM_ID example.orvanta.Brinewave3)
configure_file(${CMAKE_SOURCE_DIR}/data/linux/${BW_APPSTREAM_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/install/${BW_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/${BW_APPSTREAM_ID}.metainfo.xml
        DESTINATION share/metainfo)

# The programs come in with the data folder, not as targets, so `--strip` (and the package)
# strips them here.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(program Brinewave3 Help/Help brinewave3-decode brinewave3-artgen)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded --remove-section=.comment
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/brinewave3/\${program}\")
        endforeach()
    endif()
")
