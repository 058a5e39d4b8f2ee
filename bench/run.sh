#!/usr/bin/env bash
# Builds the release (bench preset) and runs the start-up, memory and idle benchmark under a
# private Xvfb display with a fixed environment, the game started plain, with --lavagna and with --voce:
# bench/run.sh [rounds] [idle-seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
quimbra_install "${QUIMBRA_BUILD_PACKAGES[@]}" "${QUIMBRA_BENCH_PACKAGES[@]}"
rounds=${1:-5}
idle=${2:-60}

cmake --preset bench >/dev/null
cmake --build --preset bench -j2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
# The same environment for both programs and every run: no session bus, no
# desktop theme, the same style, records in a private directory.
in_private_display() {
    env -i PATH="$PATH" HOME="$work" LANG=C.UTF-8 \
        XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
        DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=generic \
        QT_STYLE_OVERRIDE=Fusion \
        xvfb-run -a -s "-screen 0 1024x768x24" "$@"
}
for switches in "" --lavagna --voce; do
    echo "== quimbra $switches"
    # shellcheck disable=SC2086 # no switch is no word
    in_private_display ./build/bench/bench/startup_bench "$rounds" "$idle" \
        ./build/bench/bench/bare_input_dialog ./build/bench/src/window/quimbra $switches
done
# The teacher's window on a class sheet of 100,000 rows.
in_private_display ./build/bench/bench/class_sheet_bench 100000 "$rounds"
