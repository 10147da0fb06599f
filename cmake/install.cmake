# What `cmake --install` lays out under the prefix, and the Debian package
# CPack makes of it (scripts/package):
#   bin/vorlan                                 the program
#   lib/vorlan/*.so                            its shared libraries
#   share/applications/vorlan.desktop          the desktop entry
#   share/icons/hicolor/*/apps/vorlan.{svg,png} the icon
#   share/vorlan/help/                         the help pages
#   share/metainfo/org.vorlan.vorlan.metainfo.xml what software centres list
#   share/doc/vorlan/copyright                 the licence, machine-readable
# Installing takes what is built; it does not build everything first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(TARGETS vorlan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS qzvlcdisp qzvpeak tagweave qzvenv vorlan_com vorlan_system vorlan_registry
        LIBRARY DESTINATION ${VORLAN_INSTALL_LIBDIR})

set(VORLAN_RESOURCES ${PROJECT_SOURCE_DIR}/app/resources)
install(FILES ${VORLAN_RESOURCES}/vorlan.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VORLAN_RESOURCES}/vorlan.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vorlan/help)
install(FILES ${VORLAN_RESOURCES}/org.vorlan.vorlan.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# GPL-3.0-or-later (LICENSE), in Debian's machine-readable copyright format.
install(FILES ${VORLAN_RESOURCES}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vorlan)

# The icon's pixel sizes, drawn from the scalable one at build time.
find_program(VORLAN_RSVG_CONVERT rsvg-convert)
if(VORLAN_RSVG_CONVERT)
    set(icons)
    foreach(size 16 24 32 48 64 128 256)
        set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/vorlan.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
            COMMAND ${VORLAN_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${VORLAN_RESOURCES}/vorlan.svg
            DEPENDS ${VORLAN_RESOURCES}/vorlan.svg
            COMMENT "Drawing the ${size}x${size} icon" VERBATIM)
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
        list(APPEND icons ${png})
    endforeach()
    add_custom_target(vorlan_icons ALL DEPENDS ${icons})
else()
    message(WARNING "rsvg-convert not found: only the scalable icon is installed")
endif()

# The Debian package: its dependencies are the runtime packages of the
# libraries the program links (found by dpkg-shlibdeps), and the Qt platform
# plugins that put its windows on the desktop.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlan)
set(CPACK_PACKAGE_VENDOR "Vorlan")
set(CPACK_PACKAGE_CONTACT "Vorlan developers <vorlan@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-deck DJ mixing console")
set(CPACK_PACKAGE_DESCRIPTION "Vorlan plays MP3, WAV, WMA, ASF, FLAC, AIFF, M4A (AAC, ALAC), Ogg Vorbis \
and Opus songs on two decks with \
pitch, cueing and a turntable stop, blends them with a crossfader, and has an automatic DJ \
that plays through an M3U playlist by itself.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)
