#!/bin/sh
# --fit 640 --screens against --fit 640 alone, velinor-cli -j2, on a course of PAGES A4 pages of
# text (default 24) made with Ghostscript: fitted, cut, cut, fitted, the mean of each pair counts.
# Then, by their pixels: no piece taller than 240 rows or with ink on its first or last row, and
# each page's pieces, in name order, holding the ink rows of the page fitted whole, in order.
# Prints the README's table row (Markdown).
# Usage: sh bench/screens.sh [BUILD_FOLDER]   (default: build)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
pages=${PAGES:-24}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
. "$here/bench/common.sh"
grant_pdf "$work"
make_course "$pages" "$work/cours.pdf"
run_ms() {
    out=$work/$1
    rm -rf "$out"
    t0=$(date +%s%N)
    "$build/velinor-cli" -q -j2 -d "$out" --fit 640 $2 "$work/cours.pdf" >/dev/null
    t1=$(date +%s%N)
    echo "$t0 $t1" | awk '{ printf "%.0f\n", ($2 - $1) / 1e6 }'
}
# The ink of each row, 0 for a blank one (the threshold velinor cuts at).
rows() {
    convert "$@" -colorspace gray -threshold 95% -negate -scale '1x!' -depth 16 txt:- |
        awk -F'[(,]' 'NR > 1 { print $3 }'
}
a=$(run_ms fitted "")
b=$(run_ms cut --screens)
c=$(run_ms cut --screens)
d=$(run_ms fitted "")
cd "$work/cut"
bad=0
for i in *; do
    rows "$i" | awk 'NR == 1 { f = $1 } { l = $1 } END { exit NR > 240 || f || l }' || bad=$((bad + 1))
done
lost=0
page=0
while [ $page -lt "$pages" ]; do
    n=$(printf '%03d' $((page + 1)))
    [ "$(rows cours-p$n-*.png -append | grep -v '^0$')" = \
        "$(rows ../fitted/cours-$page.png | grep -v '^0$')" ] || lost=$((lost + 1))
    page=$((page + 1))
done
pieces=$(ls | wc -l)
echo "$a $b $c $d" | awk -v p="$pages" -v n="$pieces" -v bad="$bad" -v lost="$lost" '{
    fit = ($1 + $4) / 2; cut = ($2 + $3) / 2; r = cut / fit
    printf "| --fit 640 --screens against --fit 640, %d A4 pages of text, -j2 (means of 2) | %.1f s against %.1f s, %.2f×; %d pieces, %d too tall or with ink on an edge row, %d pages whose ink differs | 0, 0 | %s |\n",
        p, cut / 1000, fit / 1000, r, n, bad, lost, bad == 0 && lost == 0 ? "yes" : "no" }'
