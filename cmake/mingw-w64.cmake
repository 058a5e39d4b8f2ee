# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads, so
# std::thread and std::mutex work as on Linux). The results are linked
# statically so they run under Wine or on a bare Windows machine without any
# MinGW DLL next to them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUIMBRA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUIMBRA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUIMBRA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUIMBRA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUIMBRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest runs the cross-built programs under Wine, quiet, with a Wine prefix of
# the build's own, unless the caller names another runner.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR AND EXISTS /usr/lib/wine/wine64)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        env WINEDEBUG=-all WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDLLOVERRIDES=mscoree,mshtml=
        ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
endif()
