#!/bin/sh
# The Debian package installed into a scratch root: /var/lib/quimbra with mode 0777, root and
# two users sharing one record there, also ending games at once, and links one user plants
# there refused by the other's game. Needs root: skipped otherwise.
set -eu
[ "$(id -u)" = 0 ] || { echo "not root: skipped"; exit 77; }
writer=$2 scratch=$1/tests/install/package dir=$1/tests/install/package/root/var/lib/quimbra
rm -rf "$scratch" && mkdir -p "$scratch/root/var/lib/dpkg/info" && touch "$scratch/root/var/lib/dpkg/status"
cpack -G DEB -B "$scratch" --config "$1/CPackConfig.cmake" >/dev/null
dpkg --root="$scratch/root" --force-depends --force-script-chrootless -i "$scratch"/quimbra_*.deb >/dev/null
[ "$(stat -c %a "$dir")" = 777 ] || { echo "$dir has mode $(stat -c %a "$dir")" && exit 1; }
for user in anna bruno; do id "quimbra-$user" >/dev/null 2>&1 || useradd -M "quimbra-$user"; done
play() {  # USER SCORE OUTCOMES (0 written, 2 not a record, 3 failed); the name is USER:SCORE
    rc=0 && runuser -u "$1" -- "$writer" "$dir" "$2" "$1:$2" 2>"$scratch/said-$1" || rc=$?
    case $rc in $3) ;; *) echo "$1 scoring $2: outcome $rc: $(cat "$scratch/said-$1")" && exit 1 ;; esac
    score=$(tr -d '\r\n' <"$dir/vondu.txt") && name=$(tr -d '\r\n' <"$dir/nvondu.txt")
    [ "${name#*:}" = "$score" ] || { echo "mixed pair: $score $name" && exit 1; }
}
play root 2 0 && play quimbra-anna 3 0 && play quimbra-bruno 5 0 && play quimbra-anna 4 2
for round in 1 2 3 4 5 6 7 8 9 10; do
    play quimbra-anna $((4 + 2 * round)) '[02]' & anna=$!
    play quimbra-bruno $((5 + 2 * round)) '[02]' & bruno=$!
    wait $anna; wait $bruno
done
for planted in vondu.txt vondu.lock; do
    mv "$dir/$planted" "$scratch/kept" 2>/dev/null || true
    runuser -u quimbra-anna -- ln -s /etc/shadow "$dir/$planted"
    ! runuser -u quimbra-bruno -- "$writer" "$dir" 30 b 2>"$scratch/said" && grep -q collegamento "$scratch/said"
    rm "$dir/$planted" && mv "$scratch/kept" "$dir/$planted" 2>/dev/null || true
done
[ "$(cat "$dir/vondu.txt" "$dir/nvondu.txt")" = "$(printf '25\r\nquimbra-bruno:25\r')" ]
