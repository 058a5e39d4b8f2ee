# Installing Quimbra like any other desktop program: the binary, its menu entry, its icon in the
# hicolor theme and its AppStream metainfo, its manual page, licence and changelog; plus a Debian
# package built by CPack.
include(GNUInstallDirs)

set(QUIMBRA_DATA_DIR ${CMAKE_CURRENT_LIST_DIR}/../data)
set(QUIMBRA_ICON_SIZES 16 32 48 64 128 256)

if(TARGET quimbra)
    install(TARGETS quimbra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${QUIMBRA_DATA_DIR}/quimbra.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUIMBRA_DATA_DIR}/io.example.quimbra.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS QUIMBRA_ICON_SIZES)
    install(FILES ${QUIMBRA_DATA_DIR}/icons/hicolor/${size}x${size}/apps/quimbra.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# The scalable icon is the window's own icon, so there is one drawing to keep up to date.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/../src/window/pictures/window_icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME quimbra.svg)

# The licence in Debian's machine-readable form, the changelog and the manual page (section 6,
# games), the last two compressed as Debian wants them: gzip -9n, no name or time inside, so the
# same sources make the same package.
set(quimbra_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/quimbra)
set(quimbra_gzipped ${PROJECT_BINARY_DIR}/gzipped)
foreach(file quimbra.6 debian/changelog)
    get_filename_component(name ${file} NAME)
    add_custom_command(
        OUTPUT ${quimbra_gzipped}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${QUIMBRA_DATA_DIR}/${file} ${quimbra_gzipped}/${name}
        COMMAND gzip -9nf ${quimbra_gzipped}/${name}
        DEPENDS ${QUIMBRA_DATA_DIR}/${file} VERBATIM)
    list(APPEND quimbra_gzipped_files ${quimbra_gzipped}/${name}.gz)
endforeach()
add_custom_target(gzipped_documents ALL DEPENDS ${quimbra_gzipped_files})
install(FILES ${quimbra_gzipped}/quimbra.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${QUIMBRA_DATA_DIR}/debian/copyright ${quimbra_gzipped}/changelog.gz
        DESTINATION ${quimbra_doc_dir})

# Debian package: cpack -G DEB in a release build.
set(CPACK_PACKAGE_NAME quimbra)
set(CPACK_PACKAGE_VENDOR "The Quimbra developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Gioca con le frazioni: a fractions quiz for primary-school pupils")
# Wrapped as Debian wants it, 80 columns at most.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Quimbra trains primary-school pupils in fractions of a quantity, in Italian."
    "Each question gives the height of a rectangle and the fraction of the base"
    "that it measures; a coloured bar draws the fraction and the child types the"
    "base, against a fifteen-minute clock and the best score so far, which every"
    "user of the computer shares.")
set(CPACK_PACKAGE_CONTACT "The Quimbra developers <quimbra@quimbra.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
if(NOT CPACK_GENERATOR)
    set(CPACK_GENERATOR DEB)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Quimbra developers <quimbra@quimbra.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quimbra.example/")
# The xcb platform plugin, the fonts and Qt's own translations (for "Sì" and "No") are loaded at
# run time, so no library scan can find them: they are always named. The libraries (Qt Svg with
# its plugins among them, since the window links it) come from dpkg-shlibdeps where it is
# installed, else from the list below.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2, qt6-translations-l10n")
# The voice that reads the game aloud (off unless turned on): Qt's speech plugin for Speech
# Dispatcher, and the service with espeak-ng's voices, Italian among them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-speech-speechd-plugin, speech-dispatcher-espeak-ng")
find_program(QUIMBRA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QUIMBRA_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    string(PREPEND CPACK_DEBIAN_PACKAGE_DEPENDS
           "libc6, libstdc++6, libqt6core6 (>= 6.2), libqt6gui6 (>= 6.2), libqt6widgets6 (>= 6.2), "
           "libqt6svg6 (>= 6.2), ")
endif()

# The records folder shared by the computer's users, made by the package (see data/debian).
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${QUIMBRA_DATA_DIR}/debian/postinst;${QUIMBRA_DATA_DIR}/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
