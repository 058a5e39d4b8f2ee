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
# play USER SCORE EXPECTED-OUTCOME (0 written, 2 not a record, 3 failed)
play() {
    rc=0 && runuser -u "$1" -- "$writer" "$dir" "$2" "$1" 2>"$scratch/said" || rc=$?
    [ "$rc" = "$3" ] || { echo "$1 scoring $2: outcome $rc, not $3: $(cat "$scratch/said")"; exit 1; }
}
record() { printf '%s %s' "$(tr -d '\r\n' <"$dir/vondu.txt")" "$(tr -d '\r\n' <"$dir/nvondu.txt")"; }
play root 2 0 && play quimbra-anna 3 0 && play quimbra-bruno 5 0 && play quimbra-anna 4 2
[ "$(record)" = "5 quimbra-bruno" ] || { echo "record: $(record)"; exit 1; }
play quimbra-anna 9 0
[ "$(record)" = "9 quimbra-anna" ] || { echo "record: $(record)"; exit 1; }
for planted in vondu.txt vondu.lock; do
    mv "$dir/$planted" "$scratch/kept" 2>/dev/null || true
    runuser -u quimbra-bruno -- ln -s /etc/shadow "$dir/$planted"
    play quimbra-anna 10 3 && grep -q collegamento "$scratch/said"
    rm "$dir/$planted" && mv "$scratch/kept" "$dir/$planted" 2>/dev/null || true
done
[ "$(record)" = "9 quimbra-anna" ] || { echo "record: $(record)"; exit 1; }
