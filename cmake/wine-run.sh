#!/bin/sh
# Runs a cross-built program under Wine (CTest's emulator for the Windows
# build). Wine now and then ends at once with nothing said, before the program
# has started: seen a few times in some thousand starts, two at a time. A test
# program that has started always says something, so a silent failure is
# started once more, and said; a real one fails again.
out=$(mktemp) && err=$(mktemp) || exit 1
/usr/lib/wine/wine64 "$@" >"$out" 2>"$err"
rc=$?
if [ "$rc" -ne 0 ] && [ ! -s "$out" ] && [ ! -s "$err" ]; then
    echo "(Wine ended at once, exit code $rc, nothing said: started again)" >&2
    rm -f "$out" "$err"
    exec /usr/lib/wine/wine64 "$@"
fi
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit "$rc"
