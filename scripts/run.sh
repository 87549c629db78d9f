#!/usr/bin/env bash
# Builds KolviPlayer and starts it. Without a display it starts one of its
# own (Xvfb) and says so.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLVI_TESTS=OFF >/dev/null
# The icons too, so that the build can be installed (see the README).
cmake --build "$top/build/release" -j"$(nproc)" --target kolviplayer kolvi_icons
player="$top/build/release/app/kolviplayer"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  number=57
  while [[ -e /tmp/.X11-unix/X$number || -e /tmp/.X$number-lock ]]; do number=$((number + 1)); done
  echo "No display found: starting KolviPlayer on a virtual X display (:$number, Xvfb)."
  Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  for _ in $(seq 100); do [[ -e /tmp/.X11-unix/X$number ]] && break; sleep 0.05; done
  DISPLAY=":$number" "$player"
else
  exec "$player"
fi
