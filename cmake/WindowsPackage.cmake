# What a teacher downloads: an installer (Italian, NSIS) and a portable zip
# holding quimbra.exe alone. Targets `installer` and `portable_zip`; the
# package for technicians and the signing are in WindowsDeploy.cmake.
if(NOT TARGET quimbra)
    return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/WindowsDeploy.cmake)
find_program(QUIMBRA_MAKENSIS makensis)
find_program(QUIMBRA_ZIP zip)
set(quimbra_package_name Quimbra-${PROJECT_VERSION}-win64)
set(quimbra_icon ${CMAKE_BINARY_DIR}/src/window/quimbra_windows/quimbra.ico)
set(quimbra_icon_option)
if(QUIMBRA_ICOTOOL AND QUIMBRA_RSVG_CONVERT)
    set(quimbra_icon_option -DICON=${quimbra_icon})
endif()

if(QUIMBRA_MAKENSIS)
    add_custom_command(
        OUTPUT ${CMAKE_BINARY_DIR}/${quimbra_package_name}.exe
        COMMAND ${QUIMBRA_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION}
                -DPROGRAM=$<TARGET_FILE:quimbra> ${quimbra_icon_option} ${QUIMBRA_NSIS_SIGN_OPTIONS}
                -DOUTFILE=${CMAKE_BINARY_DIR}/${quimbra_package_name}.exe
                ${PROJECT_SOURCE_DIR}/data/windows/installer.nsi
        DEPENDS quimbra ${QUIMBRA_SIGNED_PROGRAM} ${PROJECT_SOURCE_DIR}/data/windows/installer.nsi
        VERBATIM)
    add_custom_target(installer ALL DEPENDS ${CMAKE_BINARY_DIR}/${quimbra_package_name}.exe)
endif()

if(QUIMBRA_ZIP)
    add_custom_command(
        OUTPUT ${CMAKE_BINARY_DIR}/${quimbra_package_name}.zip
        COMMAND ${CMAKE_COMMAND} -E rm -f ${CMAKE_BINARY_DIR}/${quimbra_package_name}.zip
        COMMAND ${QUIMBRA_ZIP} -q -j -X ${CMAKE_BINARY_DIR}/${quimbra_package_name}.zip
                $<TARGET_FILE:quimbra>
        DEPENDS quimbra ${QUIMBRA_SIGNED_PROGRAM} VERBATIM)
    add_custom_target(portable_zip ALL DEPENDS ${CMAKE_BINARY_DIR}/${quimbra_package_name}.zip)
endif()
