# The Windows program and what a teacher downloads, from one call made where
# the program is defined: quimbra_windows_package(target).
# - The program runs with nothing beside it: its icon, version information
#   and manifest, Qt's Italian translations inside it, the static Qt and
#   runtime linked in, no symbols.
# - An installer (Italian, NSIS): target `installer`, built with the program.
# - A portable zip holding the program alone: CPack's ZIP generator
#   (`cpack --preset windows`).
# Both land in the top of the build directory. Built on Windows itself,
# without icotool and rsvg-convert, the program has no icon of its own and
# the installer uses NSIS's.
find_program(QUIMBRA_ICOTOOL icotool)
find_program(QUIMBRA_RSVG_CONVERT rsvg-convert)
find_program(QUIMBRA_MAKENSIS makensis)
set(QUIMBRA_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH
    "Where Qt's .qm files lie (Debian's qt6-translations-l10n, the same on every platform)")

function(quimbra_windows_package target)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_windows)
    set(icon)
    if(QUIMBRA_ICOTOOL AND QUIMBRA_RSVG_CONVERT)
        set(icon ${out}/quimbra.ico)
        quimbra_windows_icon(${icon})
    endif()
    quimbra_windows_resources(${target} "${icon}")
    set(name Quimbra-${PROJECT_VERSION}-win64)
    if(QUIMBRA_MAKENSIS)
        quimbra_windows_installer(${target} ${PROJECT_BINARY_DIR}/${name}.exe "${icon}")
    endif()
    quimbra_windows_zip(${target} ${name})
endfunction()

# The icon, from the window's own picture, at the sizes Explorer asks for.
function(quimbra_windows_icon ico)
    get_filename_component(dir ${ico} DIRECTORY)
    set(svg ${PROJECT_SOURCE_DIR}/src/window/pictures/window_icon.svg)
    set(pngs)
    foreach(size 16 24 32 48 64 128 256)
        set(png ${dir}/icon-${size}.png)
        add_custom_command(
            OUTPUT ${png}
            COMMAND ${QUIMBRA_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${svg}
            DEPENDS ${svg} VERBATIM)
        list(APPEND pngs ${png})
    endforeach()
    add_custom_command(OUTPUT ${ico} COMMAND ${QUIMBRA_ICOTOOL} --create --output=${ico} ${pngs}
                       DEPENDS ${pngs} VERBATIM)
endfunction()

function(quimbra_windows_resources target icon)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_windows)
    set(QUIMBRA_MANIFEST ${PROJECT_SOURCE_DIR}/data/windows/quimbra.manifest)
    set(resource_depends ${QUIMBRA_MANIFEST} ${icon})
    set(QUIMBRA_ICON_RESOURCE "")
    if(icon)
        set(QUIMBRA_ICON_RESOURCE "1 ICON \"${icon}\"")
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/data/windows/quimbra.rc.in ${out}/quimbra.rc @ONLY)
    set_source_files_properties(${out}/quimbra.rc PROPERTIES OBJECT_DEPENDS "${resource_depends}")
    target_sources(${target} PRIVATE ${out}/quimbra.rc)

    # "Sì", "No" and "Annulla" on the dialogs, whatever is installed.
    qt_add_resources(${target} translations PREFIX /translations
                     BASE ${QUIMBRA_QT_TRANSLATIONS}
                     FILES ${QUIMBRA_QT_TRANSLATIONS}/qtbase_it.qm)

    # A release program carries no symbols.
    target_link_options(${target} PRIVATE $<$<CONFIG:Release>:-s>)
endfunction()

function(quimbra_windows_installer target installer icon)
    set(icon_option)
    if(icon)
        set(icon_option -DICON=${icon})
    endif()
    set(script ${PROJECT_SOURCE_DIR}/data/windows/installer.nsi)
    add_custom_command(
        OUTPUT ${installer}
        COMMAND ${QUIMBRA_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION}
                -DPROGRAM=$<TARGET_FILE:${target}> ${icon_option} -DOUTFILE=${installer} ${script}
        DEPENDS ${target} ${script} ${icon}
        VERBATIM)
    add_custom_target(installer ALL DEPENDS ${installer})
endfunction()

# The zip holds the program at its top, as a teacher unpacks it anywhere.
function(quimbra_windows_zip target name)
    install(TARGETS ${target} RUNTIME DESTINATION .)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_NAME Quimbra)
    set(CPACK_PACKAGE_VENDOR "The Quimbra developers")
    set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
    set(CPACK_PACKAGE_FILE_NAME ${name})
    set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
    include(CPack)
endfunction()
