#!/usr/bin/env bash
# Checks the Debian package as a user of another machine would meet it:
# built and lintian-checked (scripts/package.sh), unpacked into a throw-away
# root, started there as a user who cannot write the program's folder (the
# user nobody, with a home of its own), and closed by SIGTERM as a logout
# closes it: the playlist must be read from and written back to that user's
# data folder, and nothing written beside the program. Run as root. Apart
# from the suite (scripts/test.sh) because building the package takes
# minutes; pass a build folder to package an existing build.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/package.sh" "$@"
deb=$(ls "$top"/build/package/kolviplayer_*_amd64.deb)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
dpkg-deb -x "$deb" "$work/root"
home="$work/home"
data="$home/.local/share/kolviplayer"
mkdir -p "$data"
# "0x1" is read as 1 and written back as "1": only a run that read this
# file and saved it again changes it.
printf '0x1\r\r\n/music/a.mp3\r\r\n/music/b.mp3\r\r\n' >"$data/List.lst"
chown -R nobody: "$home"

setpriv --reuid=nobody --regid=nogroup --clear-groups \
  env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 \
  "$work/root/usr/bin/kolviplayer" &
player=$!
# The window is up once the player catches SIGTERM (bit 15 of SigCgt).
for _ in $(seq 600); do
  mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$player/status" 2>/dev/null || echo 0)
  (( (16#$mask >> 14) & 1 )) && break
  sleep 0.05
done
kill -TERM "$player"
wait "$player" || { echo "FAIL: the player did not end normally"; exit 1; }

expected=$(printf '1\r\r\n/music/a.mp3\r\r\n/music/b.mp3\r\r\n')
if [[ "$(cat "$data/List.lst")" != "$expected" ]]; then
  echo "FAIL: List.lst in the user's data folder was not read and saved"; od -c "$data/List.lst" | head; exit 1
fi
if [[ -e "$work/root/usr/lib/kolviplayer/List.lst" ]]; then
  echo "FAIL: a List.lst beside the program"; exit 1
fi
echo "PASS: the package installs, starts as another user and keeps that user's playlist in $data"
