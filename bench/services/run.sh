#!/usr/bin/env bash
# Benchmarks the audio playback service against mpg123 on a private desktop and sound
# server, and prints each figure beside its reference.
#   bench/services/run.sh [build-dir]     (default: build/; RUNS=15 latency runs per case)
# The test files (a 60-s 192 kbit/s MP3, 60-min CBR and VBR MP3s) are made once with sox
# and lame and kept in <build-dir>/bench-data/services.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-"$root/build"}
bench="$build/bench/services/services_bench"
runs=${RUNS:-15}
[ -x "$bench" ] || { echo "run.sh: build $bench first (scripts/build.sh)" >&2; exit 1; }
command -v mpg123 >/dev/null || { echo "run.sh: mpg123 is missing (scripts/install-deps.sh)" >&2; exit 1; }

data="$build/bench-data/services"
mkdir -p "$data"
make_mp3() {  # seconds file lame-options...
  local seconds=$1 file=$2; shift 2
  [ -s "$file" ] && return
  echo "making $(basename "$file") ..." >&2
  sox -V1 -R -n -r 44100 -c 2 -b 16 -t wav - synth "$seconds" sine 440 vol 0.5 |
    lame --quiet "$@" - "$file.part"
  mv "$file.part" "$file"
}
make_mp3 60 "$data/60s-192k.mp3" -b 192
make_mp3 3600 "$data/60min-cbr.mp3" -b 128
make_mp3 3600 "$data/60min-vbr.mp3" -V 2

source "$root/scripts/lib/desktop.sh"
trap desktop_stop EXIT
desktop_start 2>/dev/null

field() { awk -v k="$1" '$1 == k { print $2 }'; }
echo "playing the 60-s file with the service ..." >&2
svc=$("$bench" play "$data/60s-192k.mp3")
echo "playing the 60-s file with mpg123 -o pulse ..." >&2
ref=$("$bench" mpg123 "$data/60s-192k.mp3")
echo "measuring start and stop latency ($runs runs per case) ..." >&2
lat=$("$bench" latency "$runs" "$data/60s-192k.mp3" 0 "$data/60min-cbr.mp3" 50 \
  "$data/60min-vbr.mp3" 50)

svc_cpu=$(field cpu_process <<<"$svc")
ref_cpu=$(field cpu_process <<<"$ref")
svc_rss=$(field rss_peak_kib <<<"$svc")
ref_rss=$(field rss_peak_kib <<<"$ref")
base_rss=$(field rss_before_play_kib <<<"$svc")

echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
printf '%-44s %12s %12s %8s\n' "figure" "service" "reference" "ratio"
awk -v a="$svc_cpu" -v b="$ref_cpu" 'BEGIN { printf "%-44s %11.3fs %11.3fs %7.2fx  (target <= 1.15x)\n", "CPU user+sys, 60-s 192k file (vs mpg123)", a, b, a / b }'
awk -v a="$(field cpu_playing <<<"$svc")" 'BEGIN { printf "%-44s %11.3fs\n", "  of which after PlayFile was called", a }'
awk -v a="$svc_rss" -v b="$ref_rss" 'BEGIN { printf "%-44s %9.1fMiB %9.1fMiB %7.2fx\n", "peak RSS (vs mpg123)", a / 1024, b / 1024, a / b }'
awk -v a="$svc_rss" -v c="$base_rss" 'BEGIN { printf "%-44s %9.1fMiB\n", "  of which added by playing", (a - c) / 1024 }'
while read -r kind name _ median _ p90 _ max; do
  target=20; [ "$kind" = stop ] && target=10
  label="PlayFile latency, $name"; [ "$kind" = stop ] && label="StopPlayback latency, $name"
  printf '%-44s %10.2fms %10dms %8s  (median; p90 %.2f, max %.2f ms)\n' "$label" "$median" "$target" "" "$p90" "$max"
done <<<"$lat"
