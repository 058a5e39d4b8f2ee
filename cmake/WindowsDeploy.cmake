# What a school's technician deploys: the Windows Installer package
# (target `msi`, Debian's wixl) and, when a code-signing certificate is given,
# quimbra.exe, the installer, its uninstaller and the package signed
# (Debian's osslsigncode). Included by WindowsPackage.cmake: whatever packs
# quimbra.exe depends on QUIMBRA_SIGNED_PROGRAM (the program once signed, or
# the target itself), and makensis takes QUIMBRA_NSIS_SIGN_OPTIONS.
#
# Signing: QUIMBRA_SIGN_PFX (the certificate, a PKCS#12 file) and
# QUIMBRA_SIGN_TIMESTAMP (a timestamp server's URL, optional) are read from
# the environment when the build is configured; the password,
# QUIMBRA_SIGN_PASSWORD, only when it is built, so it never lands in the
# cache. Without QUIMBRA_SIGN_PFX nothing is signed.
#
# Run as a script (cmake -P, by the `msi` target) it builds the package; see
# the end of this file.

if(NOT CMAKE_SCRIPT_MODE_FILE)
    find_program(QUIMBRA_OSSLSIGNCODE osslsigncode)
    find_program(QUIMBRA_WIXL wixl)
    find_program(QUIMBRA_MSIBUILD msibuild)
    set(quimbra_signer ${PROJECT_SOURCE_DIR}/scripts/sign-windows)
    set(quimbra_signing_dir ${CMAKE_BINARY_DIR}/signing)

    set(quimbra_sign_pfx "$ENV{QUIMBRA_SIGN_PFX}")
    set(quimbra_sign_timestamp "$ENV{QUIMBRA_SIGN_TIMESTAMP}")
    if(quimbra_sign_pfx)
        get_filename_component(quimbra_sign_pfx "${quimbra_sign_pfx}" ABSOLUTE)
        if(NOT EXISTS "${quimbra_sign_pfx}")
            message(FATAL_ERROR "QUIMBRA_SIGN_PFX names no file: ${quimbra_sign_pfx}")
        endif()
        if(NOT QUIMBRA_OSSLSIGNCODE)
            message(FATAL_ERROR "QUIMBRA_SIGN_PFX is set but osslsigncode is missing")
        endif()
        file(SHA256 "${quimbra_sign_pfx}" quimbra_sign_hash)
        set(quimbra_sign_identity "${quimbra_sign_pfx} ${quimbra_sign_hash} ${quimbra_sign_timestamp}")
        message(STATUS "Signing the Windows programs and packages with ${quimbra_sign_pfx}")
    else()
        set(quimbra_sign_identity "unsigned")
    endif()
    # Rewritten only when it changes: a change of certificate (or from signed
    # to unsigned) relinks quimbra.exe, so no file keeps an old signature.
    file(CONFIGURE OUTPUT ${quimbra_signing_dir}/identity CONTENT "${quimbra_sign_identity}\n")
    set_property(TARGET quimbra APPEND PROPERTY LINK_DEPENDS ${quimbra_signing_dir}/identity)

    if(quimbra_sign_pfx)
        # quimbra.exe is signed in place once linked; what packs it waits
        # for this stamp.
        set(QUIMBRA_SIGNED_PROGRAM ${quimbra_signing_dir}/quimbra.exe.signed)
        add_custom_command(
            OUTPUT ${QUIMBRA_SIGNED_PROGRAM}
            COMMAND ${quimbra_signer} ${quimbra_sign_pfx} "${quimbra_sign_timestamp}"
                    $<TARGET_FILE:quimbra>
            COMMAND ${CMAKE_COMMAND} -E touch ${QUIMBRA_SIGNED_PROGRAM}
            DEPENDS quimbra ${quimbra_signing_dir}/identity ${quimbra_signer}
            COMMENT "Signing quimbra.exe" VERBATIM)
        add_custom_target(sign_program ALL DEPENDS ${QUIMBRA_SIGNED_PROGRAM})
        set(QUIMBRA_NSIS_SIGN_OPTIONS -DSIGNER=${quimbra_signer} -DSIGN_PFX=${quimbra_sign_pfx}
                                      -DSIGN_TIMESTAMP=${quimbra_sign_timestamp})
        set(quimbra_msi_signing -DSIGNER=${quimbra_signer} -DSIGN_PFX=${quimbra_sign_pfx}
                                "-DSIGN_TIMESTAMP=${quimbra_sign_timestamp}")
    else()
        set(QUIMBRA_SIGNED_PROGRAM quimbra)
        set(QUIMBRA_NSIS_SIGN_OPTIONS)
        set(quimbra_msi_signing)
    endif()

    # The administrative template for Group Policy, laid out as it is copied
    # into the policy store (PolicyDefinitions).
    set(quimbra_policy ${PROJECT_SOURCE_DIR}/data/windows/policy)
    set(quimbra_policy_files quimbra.admx it-IT/quimbra.adml en-US/quimbra.adml)
    set(quimbra_policy_zip ${CMAKE_BINARY_DIR}/Quimbra-${PROJECT_VERSION}-admx.zip)
    list(TRANSFORM quimbra_policy_files PREPEND ${quimbra_policy}/ OUTPUT_VARIABLE quimbra_policy_paths)
    add_custom_command(
        OUTPUT ${quimbra_policy_zip}
        COMMAND ${CMAKE_COMMAND} -E tar cf ${quimbra_policy_zip} --format=zip ${quimbra_policy_files}
        WORKING_DIRECTORY ${quimbra_policy}
        DEPENDS ${quimbra_policy_paths} VERBATIM)
    add_custom_target(policy_template ALL DEPENDS ${quimbra_policy_zip})

    if(QUIMBRA_WIXL AND QUIMBRA_MSIBUILD)
        set(quimbra_msi ${CMAKE_BINARY_DIR}/Quimbra-${PROJECT_VERSION}-win64.msi)
        set(quimbra_msi_icon)
        if(QUIMBRA_ICOTOOL AND QUIMBRA_RSVG_CONVERT)
            set(quimbra_msi_icon -DICON=${CMAKE_BINARY_DIR}/src/window/quimbra_windows/quimbra.ico)
        endif()
        add_custom_command(
            OUTPUT ${quimbra_msi}
            COMMAND ${CMAKE_COMMAND} -DWIXL=${QUIMBRA_WIXL} -DMSIBUILD=${QUIMBRA_MSIBUILD}
                    -DSOURCE=${PROJECT_SOURCE_DIR}/data/windows -DVERSION=${PROJECT_VERSION}
                    -DPROGRAM=$<TARGET_FILE:quimbra> ${quimbra_msi_icon} ${quimbra_msi_signing}
                    -DOUTPUT=${quimbra_msi} -P ${CMAKE_CURRENT_LIST_FILE}
            DEPENDS ${QUIMBRA_SIGNED_PROGRAM} quimbra ${CMAKE_CURRENT_LIST_FILE}
                    ${PROJECT_SOURCE_DIR}/data/windows/quimbra.wxs
                    ${PROJECT_SOURCE_DIR}/data/windows/quimbra-msi.sql
            COMMENT "Building the Windows Installer package" VERBATIM)
        add_custom_target(msi ALL DEPENDS ${quimbra_msi})
    else()
        message(STATUS "wixl or msibuild (Debian's wixl and msitools) missing: no .msi package")
    endif()
    return()
endif()

# ---- cmake -P: the package itself ------------------------------------------
# wixl 0.101 takes no Condition under a Component, so the conditions (and
# the properties an elevated install may take from the command line) are
# written into the package afterwards, one statement per line of
# quimbra-msi.sql.
file(SIZE ${PROGRAM} size)
math(EXPR size_kib "(${size} + 1023) / 1024")
# wixl takes the files' paths relative to its working directory only.
set(files ${OUTPUT}.files)
file(REMOVE_RECURSE ${files})
file(MAKE_DIRECTORY ${files})
file(COPY_FILE ${PROGRAM} ${files}/quimbra.exe)
set(icon_define)
if(ICON)
    file(COPY_FILE ${ICON} ${files}/quimbra.ico)
    set(icon_define -D Icon=quimbra.ico)
endif()
set(unfinished ${OUTPUT}.partial)
file(REMOVE ${unfinished})
execute_process(
    COMMAND ${WIXL} -a x64 -D Version=${VERSION} -D Program=quimbra.exe -D SizeKiB=${size_kib}
            ${icon_define} -o ${unfinished} ${SOURCE}/quimbra.wxs
    WORKING_DIRECTORY ${files} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${files})
# Lines, not a CMake list: the statements hold semicolons of their own.
file(READ ${SOURCE}/quimbra-msi.sql text)
string(REPLACE ";" "<semicolon>" text "${text}")
string(REPLACE "\n" ";" lines "${text}")
foreach(line IN LISTS lines)
    string(REPLACE "<semicolon>" ";" statement "${line}")
    if(statement)
        execute_process(COMMAND ${MSIBUILD} ${unfinished} -q "${statement}"
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
if(SIGNER)
    execute_process(COMMAND ${SIGNER} ${SIGN_PFX} "${SIGN_TIMESTAMP}" ${unfinished}
                    COMMAND_ERROR_IS_FATAL ANY)
endif()
file(RENAME ${unfinished} ${OUTPUT})
