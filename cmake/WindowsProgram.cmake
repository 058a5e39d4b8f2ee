# What makes quimbra.exe a Windows program that runs with nothing beside it:
# the program's icon, version information and manifest, Qt's Italian
# translations inside the program, and the static Qt and runtime linked in.
# Built on Windows itself, without these two tools, the program has no icon
# of its own.
find_program(QUIMBRA_ICOTOOL icotool)
find_program(QUIMBRA_RSVG_CONVERT rsvg-convert)
set(QUIMBRA_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH
    "Where Qt's .qm files lie (Debian's qt6-translations-l10n, the same on every platform)")

# The icon, from the window's own picture, at the sizes Explorer asks for;
# at 16 to 32 pixels, where the window in miniature is a blur, from a simple
# mark of its own.
function(quimbra_windows_icon ico)
    get_filename_component(dir ${ico} DIRECTORY)
    set(pngs)
    foreach(size 16 24 32 48 64 128 256)
        if(size LESS_EQUAL 32)
            set(svg ${PROJECT_SOURCE_DIR}/src/window/pictures/window_icon_small.svg)
        else()
            set(svg ${PROJECT_SOURCE_DIR}/src/window/pictures/window_icon.svg)
        endif()
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

function(quimbra_windows_program target)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_windows)
    set(QUIMBRA_MANIFEST ${PROJECT_SOURCE_DIR}/data/windows/quimbra.manifest)
    set(resource_depends ${QUIMBRA_MANIFEST})
    set(QUIMBRA_ICON_RESOURCE "")
    if(QUIMBRA_ICOTOOL AND QUIMBRA_RSVG_CONVERT)
        quimbra_windows_icon(${out}/quimbra.ico)
        set(QUIMBRA_ICON_RESOURCE "1 ICON \"${out}/quimbra.ico\"")
        list(APPEND resource_depends ${out}/quimbra.ico)
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
