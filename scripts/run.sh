#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tarvelo.
#
# On a desktop session (DISPLAY or WAYLAND_DISPLAY set) the program opens there and this
# script waits for it. Without a display it starts a private virtual desktop (Xvfb, openbox,
# trayer, a PulseAudio null sink), runs the program there for a few seconds, writes a PNG
# screenshot of its window to the path it prints, and stops everything it started.
#   scripts/run.sh [screenshot.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$root/build"
binary="$root/build/src/tarvelo"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${TARVELO_FORCE_VIRTUAL:-}" ]; then
  exec "$binary"
fi

shot=${1:-"$root/out/tarvelo-screenshot.png"}
mkdir -p "$(dirname "$shot")"
shot=$(cd "$(dirname "$shot")" && pwd)/$(basename "$shot")

source "$root/scripts/lib/desktop.sh"
app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  desktop_stop
}
trap cleanup EXIT
desktop_start

"$binary" &
app_pid=$!

# Wait for the window to map and finish fading in.
wid=""
for _ in $(seq 1 100); do
  wid=$(xdotool search --name '^Tarvelo$' 2>/dev/null | tail -n 1 || true)
  [ -n "$wid" ] && xwininfo -id "$wid" 2>/dev/null | grep -q IsViewable && break
  wid=""
  sleep 0.1
done
if [ -z "$wid" ]; then
  echo "run: the Tarvelo window did not appear" >&2
  exit 1
fi
sleep 2

# Xvfb has no compositor, so the shot shows the window as drawn; the frame comes with it.
frame=$(xwininfo -id "$wid" -children | awk '/Parent window id/ {print $4}')
target=$wid
if [ -n "$frame" ] && [ "$frame" != "$(xwininfo -root | awk '/Window id/ {print $4}')" ]; then
  target=$frame
fi
import -window "$target" "$shot"
echo "screenshot: $shot"
