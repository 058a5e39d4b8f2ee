# The Windows program and what a teacher downloads, from one call made where
# the program is defined: quimbra_windows_package(target).
# - The program runs with nothing beside it: its icon, version information
#   and manifest, Qt's Italian translations inside it, the static Qt and
#   runtime linked in, no symbols.
# - An installer (Italian, NSIS): target `installer`, built with the program.
# - A portable zip holding the program and its licence: CPack's ZIP generator
#   (`cpack --preset windows`).
# - The licence, the GNU GPL's text as COPYING.txt with Windows' line ends,
#   beside the program in every form, and on a page of the installer.
# - For a school's technician: a Windows Installer package (target `msi`)
#   and the Group Policy template of the records folder (`policy_template`).
# - Signed, program, installer, uninstaller and package, when a certificate
#   is given (quimbra_windows_signing).
# All land in the top of the build directory. Built on Windows itself,
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
    quimbra_windows_signing(${target})
    quimbra_windows_policy_template()
    set(QUIMBRA_LICENSE ${out}/COPYING.txt)
    configure_file(${PROJECT_SOURCE_DIR}/COPYING ${QUIMBRA_LICENSE} @ONLY NEWLINE_STYLE CRLF)
    set(name Quimbra-${PROJECT_VERSION}-win64)
    if(QUIMBRA_MAKENSIS)
        quimbra_windows_installer(${target} ${PROJECT_BINARY_DIR}/${name}.exe "${icon}")
    endif()
    quimbra_windows_msi(${target} ${PROJECT_BINARY_DIR}/${name}.msi "${icon}")
    quimbra_windows_zip(${target} ${name})
endfunction()

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
                -DPROGRAM=$<TARGET_FILE:${target}> -DLICENSE=${QUIMBRA_LICENSE} ${icon_option}
                ${QUIMBRA_NSIS_SIGN_OPTIONS} -DOUTFILE=${installer} ${script}
        DEPENDS ${target} ${QUIMBRA_SIGNED_PROGRAM} ${script} ${icon} ${QUIMBRA_LICENSE}
        VERBATIM)
    add_custom_target(installer ALL DEPENDS ${installer})
endfunction()

# The zip holds the program and its licence at its top, as a teacher unpacks
# it anywhere.
function(quimbra_windows_zip target name)
    install(TARGETS ${target} RUNTIME DESTINATION .)
    install(FILES ${QUIMBRA_LICENSE} DESTINATION .)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_NAME Quimbra)
    set(CPACK_PACKAGE_VENDOR "The Quimbra developers")
    set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
    set(CPACK_PACKAGE_FILE_NAME ${name})
    set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
    include(CPack)
endfunction()

# Signing: QUIMBRA_SIGN_PFX (the certificate, a PKCS#12 file) and
# QUIMBRA_SIGN_TIMESTAMP (a timestamp server's URL, optional) are read from
# the environment when the build is configured; the password,
# QUIMBRA_SIGN_PASSWORD, only when it is built, so it never lands in the
# cache. Without QUIMBRA_SIGN_PFX nothing is signed. Sets, for what packs the
# program, QUIMBRA_SIGNED_PROGRAM (the program once signed, or the target
# itself), QUIMBRA_NSIS_SIGN_OPTIONS and QUIMBRA_MSI_SIGNING.
function(quimbra_windows_signing target)
    set(signer ${PROJECT_SOURCE_DIR}/scripts/sign-windows)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_windows/signing)
    set(pfx "$ENV{QUIMBRA_SIGN_PFX}")
    set(timestamp "$ENV{QUIMBRA_SIGN_TIMESTAMP}")
    if(NOT pfx)
        file(CONFIGURE OUTPUT ${dir}/identity CONTENT "unsigned\n")
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${dir}/identity)
        set(QUIMBRA_SIGNED_PROGRAM ${target} PARENT_SCOPE)
        set(QUIMBRA_NSIS_SIGN_OPTIONS "" PARENT_SCOPE)
        set(QUIMBRA_MSI_SIGNING "" PARENT_SCOPE)
        return()
    endif()
    get_filename_component(pfx "${pfx}" ABSOLUTE)
    if(NOT EXISTS "${pfx}")
        message(FATAL_ERROR "QUIMBRA_SIGN_PFX names no file: ${pfx}")
    endif()
    find_program(QUIMBRA_OSSLSIGNCODE osslsigncode)
    if(NOT QUIMBRA_OSSLSIGNCODE)
        message(FATAL_ERROR "QUIMBRA_SIGN_PFX is set but osslsigncode is missing")
    endif()
    message(STATUS "Signing the Windows programs and packages with ${pfx}")
    file(SHA256 "${pfx}" hash)
    # Rewritten only when it changes: a change of certificate (or from
    # signed to unsigned) relinks the program, so no file keeps an old
    # signature.
    file(CONFIGURE OUTPUT ${dir}/identity CONTENT "${pfx} ${hash} ${timestamp}\n")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${dir}/identity)
    # The program is signed in place once linked; what packs it waits for
    # this stamp.
    set(stamp ${dir}/program.signed)
    add_custom_command(
        OUTPUT ${stamp}
        COMMAND ${signer} ${pfx} "${timestamp}" $<TARGET_FILE:${target}>
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${target} ${dir}/identity ${signer}
        COMMENT "Signing ${target}" VERBATIM)
    add_custom_target(sign_program ALL DEPENDS ${stamp})
    set(QUIMBRA_SIGNED_PROGRAM ${stamp} PARENT_SCOPE)
    set(QUIMBRA_NSIS_SIGN_OPTIONS -DSIGNER=${signer} -DSIGN_PFX=${pfx} -DSIGN_TIMESTAMP=${timestamp}
        PARENT_SCOPE)
    set(QUIMBRA_MSI_SIGNING ${pfx} "${timestamp}" PARENT_SCOPE)
endfunction()

# The administrative template for Group Policy, zipped as it is copied into
# the policy store (PolicyDefinitions).
function(quimbra_windows_policy_template)
    set(policy ${PROJECT_SOURCE_DIR}/data/windows/policy)
    set(files quimbra.admx it-IT/quimbra.adml en-US/quimbra.adml)
    set(zip ${PROJECT_BINARY_DIR}/Quimbra-${PROJECT_VERSION}-admx.zip)
    list(TRANSFORM files PREPEND ${policy}/ OUTPUT_VARIABLE paths)
    add_custom_command(
        OUTPUT ${zip}
        COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${files}
        WORKING_DIRECTORY ${policy}
        DEPENDS ${paths} VERBATIM)
    add_custom_target(policy_template ALL DEPENDS ${zip})
endfunction()

# What a school's technician deploys: the Windows Installer package (Debian's
# wixl and msibuild), signed like the rest.
function(quimbra_windows_msi target msi icon)
    find_program(QUIMBRA_WIXL wixl)
    find_program(QUIMBRA_MSIBUILD msibuild)
    if(NOT QUIMBRA_WIXL OR NOT QUIMBRA_MSIBUILD)
        message(STATUS "wixl or msibuild (Debian's wixl and msitools) missing: no .msi package")
        return()
    endif()
    set(script ${PROJECT_SOURCE_DIR}/scripts/windows-msi)
    add_custom_command(
        OUTPUT ${msi}
        COMMAND ${script} ${PROJECT_VERSION} $<TARGET_FILE:${target}> "${icon}" ${msi}
                ${QUIMBRA_MSI_SIGNING}
        DEPENDS ${target} ${QUIMBRA_SIGNED_PROGRAM} ${script} ${icon}
                ${PROJECT_SOURCE_DIR}/data/windows/quimbra.wxs
                ${PROJECT_SOURCE_DIR}/data/windows/quimbra-msi.sql ${PROJECT_SOURCE_DIR}/COPYING
        COMMENT "Building the Windows Installer package" VERBATIM)
    add_custom_target(msi ALL DEPENDS ${msi})
endfunction()
