#!/usr/bin/env bash
# Playback benchmark: the whole program playing a 60-second 192 kbit/s MP3 to the null sink,
# started through its own file dialog and play button, beside `mpg123 -o pulse` on the same
# file and sink and a bare Qt Widgets window open for the same time. Prints CPU seconds, peak
# RSS and the wake-ups per second of the stopped program hidden in the tray.
#
# Usage: bash bench/playback/run.sh [BUILD_DIR]   (needs the tools of scripts/install-deps.sh;
# starts its own virtual desktop and sound server unless TARVELO_TEST_DESKTOP=1 is set)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
tarvelo=$build/src/app/tarvelo
[ -x "$tarvelo" ] || tarvelo=$(find "$build" -name tarvelo -type f -perm -u+x | head -n1)
bare=$(find "$build" -name bench_bare_window -type f -perm -u+x | head -n1)
seconds=60

if [ "${TARVELO_TEST_DESKTOP:-}" != 1 ]; then
    # shellcheck source=/dev/null
    source "$root/scripts/lib/desktop.sh"
    trap desktop_stop EXIT
    desktop_start
fi

work=$(mktemp -d)
cleanup_work() { rm -rf "$work"; }
trap 'cleanup_work; declare -F desktop_stop >/dev/null && desktop_stop || true' EXIT

sox -n -r 44100 -c 2 "$work/tone.wav" synth $seconds sine 440 sine 660 2>/dev/null
lame --quiet -b 192 "$work/tone.wav" "$work/track.mp3"
rm "$work/tone.wav"

clk=$(getconf CLK_TCK)
# CPU seconds (user + system) of a live process, all threads.
cpu_of() { awk -v c="$clk" '{ printf "%.2f", ($14 + $15) / c }' "/proc/$1/stat"; }
# Peak resident set in kB.
hwm_of() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"; }
# Context switches of all threads: each one is a wake-up of a sleeping thread or a preemption.
switches_of() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^voluntary_ctxt_switches:|^nonvoluntary_ctxt_switches:/ { n += $2 } END { print n }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# --- mpg123 -------------------------------------------------------------------------------
/usr/bin/time -f "%U %S %M" -o "$work/mpg123.time" \
    mpg123 -q -o pulse -a tarvelo_test "$work/track.mp3" 2>/dev/null
read -r mu ms mrss <"$work/mpg123.time"
mpg_cpu=$(awk -v u="$mu" -v s="$ms" 'BEGIN { printf "%.2f", u + s }')

# --- bare window ----------------------------------------------------------------------------
"$bare" $seconds &
bare_pid=$!
sleep $((seconds - 2))
bare_rss=$(hwm_of $bare_pid)
bare_cpu=$(cpu_of $bare_pid)
wait $bare_pid || true

# --- tarvelo --------------------------------------------------------------------------------
"$tarvelo" &
pid=$!
win=""
for _ in $(seq 100); do
    win=$(xdotool search --name '^Tarvelo$' 2>/dev/null | tail -n1) && [ -n "$win" ] && break
    sleep 0.1
done
[ -n "$win" ] || { echo "tarvelo window not found" >&2; kill $pid; exit 1; }
sleep 2.5
click "$win" 100 150 # the empty list opens the add dialog
for _ in $(seq 100); do
    xdotool search --name '请选择要加入播放列表的MP3文件' >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 0.5
xdotool type --delay 20 "$work/track.mp3"
xdotool key Return
sleep 1
cpu0=$(cpu_of $pid)
click "$win" 25 12 # play
sleep $seconds
cpu1=$(cpu_of $pid)
prog_cpu=$(awk -v a="$cpu0" -v b="$cpu1" 'BEGIN { printf "%.2f", b - a }')
prog_rss=$(hwm_of $pid)
streams=$(pactl list short sink-inputs | wc -l)

click "$win" 219 12 # stop
xdotool windowminimize "$win"
sleep 2
s0=$(switches_of $pid)
sleep 10
s1=$(switches_of $pid)
wakeups=$(awk -v a="$s0" -v b="$s1" 'BEGIN { printf "%.1f", (b - a) / 10 }')
kill $pid
wait $pid 2>/dev/null || true

echo "Playback benchmark: ${seconds} s of 192 kbit/s MP3 to the null sink"
printf '  %-34s %8s s   (mpg123 -o pulse: %s s, ratio %s, target <= 1.30)\n' \
    "CPU, tarvelo playing:" "$prog_cpu" "$mpg_cpu" "$(ratio "$prog_cpu" "$mpg_cpu")"
printf '  %-34s %8s kB  (bare Qt window: %s kB, ratio %s, target <= 1.20; mpg123: %s kB)\n' \
    "Peak RSS, tarvelo:" "$prog_rss" "$bare_rss" "$(ratio "$prog_rss" "$bare_rss")" "$mrss"
printf '  %-34s %8s     (target < 40960 kB)\n' "" ""
printf '  %-34s %8s /s  (two 1 Hz timers: 2 /s)\n' "Wake-ups, stopped and hidden:" "$wakeups"
printf '  %-34s %8s     (bare window CPU: %s s)\n' "Streams seen while playing:" "$streams" "$bare_cpu"
