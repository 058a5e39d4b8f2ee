#!/bin/sh
# The Debian package installed into a scratch root: /var/lib/quimbra with
# mode 0777, two users (and root) sharing one record there, and what one user
# plants there refused by the other's game. Needs root: skipped otherwise.
# Usage: shared_records.sh BUILD_DIR RECORD_WRITER
set -eu
[ "$(id -u)" = 0 ] || { echo "not root: skipped"; exit 77; }
build=$1 writer=$2 scratch=$1/tests/install/package
rm -rf "$scratch" && mkdir -p "$scratch/root/var/lib/dpkg/updates" "$scratch/root/var/lib/dpkg/info"
touch "$scratch/root/var/lib/dpkg/status"
cpack -G DEB -B "$scratch" --config "$build/CPackConfig.cmake" >/dev/null
dpkg --root="$scratch/root" --force-depends --force-script-chrootless -i "$scratch"/quimbra_*.deb >/dev/null
dir=$scratch/root/var/lib/quimbra
[ "$(stat -c %a "$dir")" = 777 ] || { echo "$dir has mode $(stat -c %a "$dir")"; exit 1; }
for user in quimbra-anna quimbra-bruno; do id "$user" >/dev/null 2>&1 || useradd -M "$user"; done
# play USER SCORE OUTCOMES (0 written, 2 not a record, 3 failed), the name being USER:SCORE
play() {
    rc=0 && runuser -u "$1" -- "$writer" "$dir" "$2" "$1:$2" 2>"$scratch/said.$1" || rc=$?
    case $rc in $3) ;; *) echo "$1 scoring $2: outcome $rc: $(cat "$scratch/said.$1")" && exit 1 ;; esac
}
expect() {
    record="$(tr -d '\r\n' <"$dir/vondu.txt") $(tr -d '\r\n' <"$dir/nvondu.txt")"
    [ "$record" = "$1" ] || { echo "record: $record, not $1" && exit 1; }
}
play root 2 0 && play quimbra-anna 3 0 && play quimbra-bruno 5 0 && play quimbra-anna 4 2
expect "5 quimbra-bruno:5"
# Both users' games end at once, round after round: never a mixed pair.
for round in 1 2 3 4 5 6 7 8 9 10; do
    play quimbra-anna $((4 + 2 * round)) '[02]' & anna=$!
    play quimbra-bruno $((5 + 2 * round)) '[02]' & bruno=$!
    wait $anna; wait $bruno
    s=$(tr -d '\r\n' <"$dir/vondu.txt") && expect "$s $(tr -d '\r\n' <"$dir/nvondu.txt" | sed "s/:.*/:$s/")"
done
expect "25 quimbra-bruno:25"
for planted in vondu.txt vondu.lock; do
    mv "$dir/$planted" "$scratch/kept" 2>/dev/null || true
    runuser -u quimbra-anna -- ln -s /etc/shadow "$dir/$planted"
    play quimbra-bruno 30 3 && grep -q collegamento "$scratch/said.quimbra-bruno"
    rm "$dir/$planted" && mv "$scratch/kept" "$dir/$planted" 2>/dev/null || true
done
expect "25 quimbra-bruno:25"
