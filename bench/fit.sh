#!/bin/sh
# --fit 640 against a plain conversion at the same supersampling (medium), velinor-cli -j2, on a
# PDF of PAGES A4 pages (default 24) made with Ghostscript: plain, fitted, fitted, plain, the mean
# of each pair counts. Prints the README's table row (Markdown).
# Usage: sh bench/fit.sh [BUILD_FOLDER]   (default: build)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
pages=${PAGES:-24}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
. "$here/bench/common.sh"
grant_pdf "$work"
make_pdf "$pages" "$work/cours.pdf"
run_ms() {
    rm -rf "$work/out"
    t0=$(date +%s%N)
    "$build/velinor-cli" -q -j2 -d "$work/out" "$@" "$work/cours.pdf" >/dev/null
    t1=$(date +%s%N)
    [ "$(ls "$work/out" | wc -l)" -eq "$pages" ] || { echo "bench: images missing" >&2; exit 1; }
    echo "$t0 $t1" | awk '{ printf "%.0f\n", ($2 - $1) / 1e6 }'
}
a=$(run_ms)
b=$(run_ms --fit 640)
c=$(run_ms --fit 640)
d=$(run_ms)
echo "$a $b $c $d" | awk -v p="$pages" '{ plain = ($1 + $4) / 2; fit = ($2 + $3) / 2; r = fit / plain
    printf "| --fit 640 against plain, %d A4 pages, medium, -j2 (means of 2) | %.1f s against %.1f s, %.2f× | at most 1.3× | %s |\n",
        p, fit / 1000, plain / 1000, r, r <= 1.3 ? "yes" : "no" }'
