#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tarvelo need.
# Only packages that are missing are installed, so a second run costs a dpkg query.
set -euo pipefail

packages=(
  # build
  cmake g++ pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
  libmpg123-dev libpulse-dev libxcb1-dev libxcb-keysyms1-dev
  googletest libgtest-dev libgmock-dev
  # a CJK font so that the Chinese captions render
  fontconfig fonts-wqy-microhei
  # the virtual desktop and sound server used when no display exists, and by the tests
  xvfb openbox trayer xdotool x11-utils imagemagick
  pulseaudio pulseaudio-utils sox lame
  # the accessibility tree, read from outside by the system tests
  dbus-x11 at-spi2-core python3-pyatspi python3-gi
  # the playback benchmark's reference player and its CPU and memory figures
  mpg123 time
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: these packages are missing and need root: ${missing[*]}" >&2
    exit 1
  fi
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Requests for SimSun (宋体) fall back to the CJK font through fontconfig.
conf=/etc/fonts/conf.d/65-tarvelo-simsun.conf
src="$(cd "$(dirname "$0")/.." && pwd)/data/fontconfig/65-tarvelo-simsun.conf"
if [ "$(id -u)" -eq 0 ] && ! cmp -s "$src" "$conf" 2>/dev/null; then
  cp "$src" "$conf"
  fc-cache -f >/dev/null 2>&1 || true
fi
