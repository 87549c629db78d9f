#!/usr/bin/env bash
# Installs the Debian packages the player needs (and, with --test, what the
# test suite needs too). Packages already present are skipped. qt6-wayland
# gives a Wayland desktop a native window; libasound2-plugins is ALSA's
# route to the sound server, for the volume when the server's own is out of reach.
set -euo pipefail

packages=(cmake g++ pkg-config qt6-base-dev qt6-base-private-dev qt6-webengine-dev qt6-declarative-dev libmpg123-dev libpulse-dev libasound2-dev fonts-nanum libgl-dev xvfb xauth
          libtag1-dev qt6-translations-l10n qt6-wayland libasound2-plugins)
if [[ "${1:-}" == "--test" ]]; then
  packages+=(libgtest-dev libgmock-dev pulseaudio pulseaudio-utils libasound2-plugins lame libmp3lame-dev libx11-dev sox locales
             clang clang-tidy libclang-rt-14-dev xdotool x11-utils python3 mpg123 procps
             dbus-daemon dbus-bin playerctl desktop-file-utils appstream)
fi
if [[ "${1:-}" == "--package" ]]; then
  packages+=(dpkg-dev lintian file)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
