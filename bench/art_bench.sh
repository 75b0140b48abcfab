#!/usr/bin/env bash
# The cost of painting a whole set of pictures at a screen's scale, on one core, printed as
# "name: value" lines for S = 1 (the data folder's pictures), 1.8 (1080 lines) and 3.6 (2160):
#   art_set_cpu_seconds_S   CPU time of the generator (one thread, pinned to one core)
#   art_set_wall_seconds_S  its wall time (higher than the CPU time on a busy machine)
#   art_set_megabytes_S     the set's size on disk
#   art_set_peak_memory_mb_S  the generator's peak resident memory
# Usage: bench/art_bench.sh [build folder] [scales...]   (default: build 1 1.8 3.6)
set -euo pipefail
build=${1:-build}
shift || true
scales=("$@")
[[ ${#scales[@]} -gt 0 ]] || scales=(1 1.8 3.6)
generator=$build/Brinewave3/brinewave3-artgen
[[ -x $generator ]] || { echo "no $generator: build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work
pin=()
command -v taskset >/dev/null && pin=(taskset -c 0)

for scale in "${scales[@]}"; do
    folder=$work/set-$scale
    start=$(date +%s%N)
    # A subshell's `times` gives the CPU time of its children: the generator alone.
    if ! ("${pin[@]}" "$generator" --scale "$scale" --threads 1 "$folder" >"$work/out" \
        2>"$work/err" && times >"$work/times"); then
        cat "$work/err" >&2
        exit 1
    fi
    cpu=$(tail -n 1 "$work/times" | awk '{ n = split($0, f, /[ms ]+/); print f[1] * 60 + f[2] + f[3] * 60 + f[4] }')
    end=$(date +%s%N)
    bytes=$(du -sb "$folder" | cut -f1)
    peak=$(sed -n 's/.*peak memory \([0-9]*\) MB.*/\1/p' "$work/out")
    awk -v s="$scale" -v c="$cpu" -v ns=$((end - start)) -v b="$bytes" -v m="$peak" \
        'BEGIN { printf "art_set_cpu_seconds_%s: %.1f\nart_set_wall_seconds_%s: %.1f\n", s, c, s, ns / 1e9
                 printf "art_set_megabytes_%s: %.1f\nart_set_peak_memory_mb_%s: %s\n", s, b / 1e6, s, m }'
    rm -rf "$folder"
done
