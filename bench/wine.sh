#!/usr/bin/env bash
# The Windows program's start-up under Wine beside a bare static Qt program,
# and the sizes of quimbra.exe and its installer: bench/wine.sh [rounds]
# (builds the Windows programs first, `windows-bench` preset, build/windows-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
quimbra_install "${QUIMBRA_BUILD_PACKAGES[@]}" "${QUIMBRA_TEST_PACKAGES[@]}"
QUIMBRA_WINDOWS_QT=$(scripts/windows-qt)
export QUIMBRA_WINDOWS_QT
cmake --preset windows-bench >/dev/null
cmake --build --preset windows-bench
cpack --preset windows-bench

prefix=$(mktemp -d)
trap 'WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$prefix"' EXIT
WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    /usr/lib/wine/wine64 wineboot --init </dev/null >/dev/null 2>&1
WINEPREFIX=$prefix /usr/lib/wine/wineserver -w
ls -l build/windows-bench/Quimbra-*-win64.exe build/windows-bench/Quimbra-*-win64.zip
/usr/bin/python3 bench/wine_startup.py --prefix "$prefix" --build build/windows-bench --rounds "${1:-7}"
