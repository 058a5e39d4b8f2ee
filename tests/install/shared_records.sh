#!/bin/sh
# The Debian package installed into a scratch root: /var/lib/quimbra with mode 0777, root and
# two users sharing one record there, each replacing the other's files, and links one user
# plants there replaced, never followed, by the other's game. Needs root: skipped otherwise.
set -eu
[ "$(id -u)" = 0 ] || { echo "not root: skipped"; exit 77; }
# The two users must reach the scratch root and run the writer wherever the build lies (a
# checkout in /root or any private home is closed to them): both go to a folder of their own.
scratch=$(mktemp -d /var/tmp/quimbra-install-XXXXXX) && chmod 755 "$scratch"
trap 'rm -rf "$scratch"' EXIT
writer=$scratch/record_writer dir=$scratch/root/var/lib/quimbra
cp "$2" "$writer" && chmod 755 "$writer"
mkdir -p "$scratch/root/var/lib/dpkg/info" && touch "$scratch/root/var/lib/dpkg/status"
cpack -G DEB -B "$scratch" --config "$1/CPackConfig.cmake" >/dev/null
dpkg --root="$scratch/root" --force-depends --force-script-chrootless -i "$scratch"/quimbra_*.deb >/dev/null
[ "$(stat -c %a "$dir")" = 777 ] || { echo "$dir has mode $(stat -c %a "$dir")" && exit 1; }
for user in anna bruno; do id "quimbra-$user" >/dev/null 2>&1 || useradd -M "quimbra-$user"; done
play() {  # USER SCORE: the record written, unless the score is 4 (not a record then)
    rc=0 && runuser -u "$1" -- "$writer" "$dir" "$2" "$1:$2" 2>"$scratch/said-$1" || rc=$?
    [ $rc = $(($2 == 4 ? 2 : 0)) ] || { echo "$1 scoring $2: $rc $(cat "$scratch/said-$1")" && exit 1; }
}
play root 2 && play quimbra-anna 3 && play quimbra-bruno 5 && play quimbra-anna 4 && play quimbra-anna 6
shadow=$(sha256sum /etc/shadow) score=6
for planted in vondu.txt vondu.lock vondu.commit; do  # each counts as no record and is replaced
    rm -f "$dir/$planted" && runuser -u quimbra-anna -- ln -s /etc/shadow "$dir/$planted"
    score=$((score + 1)) && play quimbra-bruno $score
    test ! -L "$dir/$planted" -a "$(sha256sum /etc/shadow)" = "$shadow"
done
[ "$(cat "$dir/vondu.txt" "$dir/nvondu.txt")" = "$(printf '9\r\nquimbra-bruno:9\r')" ]
