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
    set(quimbra_msi_signing ${quimbra_sign_pfx} "${quimbra_sign_timestamp}")
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
    set(quimbra_msi_icon "")
    if(QUIMBRA_ICOTOOL AND QUIMBRA_RSVG_CONVERT)
        set(quimbra_msi_icon ${CMAKE_BINARY_DIR}/src/window/quimbra_windows/quimbra.ico)
    endif()
    add_custom_command(
        OUTPUT ${quimbra_msi}
        COMMAND ${PROJECT_SOURCE_DIR}/scripts/windows-msi ${PROJECT_VERSION}
                $<TARGET_FILE:quimbra> "${quimbra_msi_icon}" ${quimbra_msi}
                ${quimbra_msi_signing}
        DEPENDS ${QUIMBRA_SIGNED_PROGRAM} quimbra ${PROJECT_SOURCE_DIR}/scripts/windows-msi
                ${PROJECT_SOURCE_DIR}/data/windows/quimbra.wxs
                ${PROJECT_SOURCE_DIR}/data/windows/quimbra-msi.sql
        COMMENT "Building the Windows Installer package" VERBATIM)
    add_custom_target(msi ALL DEPENDS ${quimbra_msi})
else()
    message(STATUS "wixl or msibuild (Debian's wixl and msitools) missing: no .msi package")
endif()
