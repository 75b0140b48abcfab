#!/usr/bin/env bash
# The art cache's file format: a whole set at a screen's height painted by the generator as the
# data folder has it (BMP), then read by the saver's picture loader as BMP and, re-encoded, as
# PNG at zlib level 1 (what a cache fill writes). Prints "name: value" lines per height
# (default 1080 and 2160): the set's size, the time to load all of it from the page cache, and
# the time PNG encoding adds; then the size of the set a real fill leaves in the cache.
# Usage: bench/cache_format_bench.sh [build folder] [heights...]   (default: build 1080 2160)
set -euo pipefail
build=${1:-build}
shift || true
heights=("$@")
[[ ${#heights[@]} -gt 0 ]] || heights=(1080 2160)
generator=$build/Brinewave3/brinewave3-artgen
bench=$build/bench/brinewave3-picture-set-bench
for program in "$generator" "$bench"; do
    [[ -x $program ]] || { echo "no $program: build first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work
for height in "${heights[@]}"; do
    scale=$(awk -v h="$height" 'BEGIN { print h / 600 }')
    "$generator" --scale "$scale" "$work/bmp-$height" >/dev/null
    "$bench" "$work/bmp-$height" --as-png "$work/png-$height" | sed "s/:/_$height:/"
    rm -rf "$work/bmp-$height" "$work/png-$height"
    "$generator" --cache-fill "$height" "$work/cache" >/dev/null
    awk -v h="$height" -v b="$(du -sb "$work/cache/$height" | cut -f1)" \
        'BEGIN { printf "art_cache_set_megabytes_%s: %.1f\n", h, b / 1e6 }'
    rm -rf "$work/cache"
done
