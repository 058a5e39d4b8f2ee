#!/bin/sh
# The Wine prefix of the Windows tests, as CTest fixtures:
#   wine_prefix.sh create PREFIX FONTS  a fresh, quiet prefix whose server keeps
#                                       running, and the test fonts linked into FONTS
#   wine_prefix.sh play PREFIX CASE BUILD   a case of wine_play.py, in a copy of PREFIX
#   wine_prefix.sh end PREFIX           ends the server of the prefix (and only its)
set -eu
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
command=$1
WINEPREFIX=$(realpath -m "$2")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# No offer to install Mono or Gecko (none of the programs needs them), and
# nothing drawn on the caller's display.
unset DISPLAY WAYLAND_DISPLAY

# Wine's output goes to $log, shown only when a step fails; each step says
# which it was, since set -e does not hold inside a function called by `if`.
step() {
    echo "== $*" >>"$log"
    "$@" </dev/null >>"$log" 2>&1 || { echo "== failed with exit $?: $*" >>"$log"; return 1; }
}

make_prefix() {
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX" "$log" || return 1
    step "$wine" wineboot --init || return 1
    step "$wineserver" -w || return 1
    # Wine links the user's Desktop, Documents... to the Linux home (in a fresh
    # clone in /root, the home holding this build and its prefixes): they become
    # folders of the prefix, so no shortcut lands in the home and no walk of
    # drive C: leaves the prefix.
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
        if [ -L "$link" ]; then rm "$link" && mkdir "$link" || return 1; fi
    done
    # The server, and Wine's own services that the first program starts, are
    # kept running until `end`: started here, away from CTest's output pipes
    # (which they would hold open), and not again for each test case.
    step "$wineserver" -p || return 1
    step "$wine" cmd /c exit || return 1
    # Qt's offscreen platform has no fonts of its own on Windows.
    mkdir -p "$1" &&
        ln -sf /usr/share/fonts/truetype/liberation2/*.ttf /usr/share/fonts/truetype/dejavu/*.ttf "$1/"
}

case $command in
create)
    log="$WINEPREFIX.log"
    if ! make_prefix "$3"; then
        # Wine's first start has failed once in CI without a word, and never
        # here: show what it said, then try once more from nothing.
        echo "Making the Wine prefix failed; Wine said:" >&2
        tail -n 40 "$log" >&2 || true
        make_prefix "$3" || { tail -n 40 "$log" >&2; exit 1; }
    fi
    echo "Wine prefix $WINEPREFIX ready"
    ;;
play)
    # Each case gets a fresh copy of the prefix, kept only when it fails.
    copy="$WINEPREFIX-$3"
    rm -rf "$copy"
    cp -a "$WINEPREFIX" "$copy"
    driver="$(dirname "$0")/wine_play.py"
    WINEPREFIX=$copy /usr/bin/python3 "$driver" --prefix "$copy" --build "$4" --case "$3" \
        --screenshot "$4/screenshot-$3.png" </dev/null
    rm -rf "$copy"
    ;;
end)
    "$wineserver" -k 2>/dev/null || true
    ;;
*)
    echo "usage: $0 create PREFIX FONTS | play PREFIX CASE BUILD | end PREFIX" >&2
    exit 2
    ;;
esac
