#!/bin/sh
# Measures the figures of the README's "One engine" table and prints it (Markdown):
#   a. the window's longest event-loop stall during a run of 8 copies of a 10-page PDF;
#   b. that run's time in the window (one job per processor) against velinor-cli -j1, the same
#      engine with one job;
#   c. one 96-page PDF at the defaults, velinor-cli -j2 against -j1;
#   d. the time from a click on "Arrêter" until no process of the run is left.
# Usage: sh bench/engine.sh [BUILD_FOLDER]   (default: build-bench, configured as Release)
set -eu
. "$(dirname "$0")/common.sh"

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-bench}
echo "Building velinor-cli and velinor-bench-window in $build..." >&2
[ -f "$build/CMakeCache.txt" ] ||
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target velinor-cli velinor-bench-window >/dev/null
cli=$build/velinor-cli
window=$build/velinor-bench-window
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
grant_pdf "$work"
mkdir -p "$work/pdf" "$work/long"
make_pdf 10 "$work/pdf/document.pdf"
for c in 1 2 3 4 5 6 7 8; do cp "$work/pdf/document.pdf" "$work/pdf/copy$c.pdf"; done
rm "$work/pdf/document.pdf"
make_pdf 96 "$work/long/cours.pdf"

seconds() {
    t0=$(date +%s%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s%N)
    echo "$t0 $t1" | awk '{ printf "%.2f\n", ($2 - $1) / 1e9 }'
}

echo "a, b: the window, 8 PDFs of 10 pages..." >&2
"$window" stall "$work/window" "$work"/pdf/*.pdf >"$work/stall.txt"
run_s=$(awk '/^run_ms/ { printf "%.2f", $2 / 1000 }' "$work/stall.txt")
stall_ms=$(awk '/^stall_ms/ { print $2 }' "$work/stall.txt")
echo "b: velinor-cli -j1, the same files..." >&2
one_s=$(seconds "$cli" -j1 -d "$work/cli" "$work"/pdf/*.pdf)
echo "c: one 96-page PDF, -j1 then -j2..." >&2
long1=$(seconds "$cli" -j1 -d "$work/l1" "$work/long/cours.pdf")
long2=$(seconds "$cli" -j2 -d "$work/l2" "$work/long/cours.pdf")
echo "d: Arrêter 3 s into the run..." >&2
stop_ms=$("$window" stop "$work/stopped" 3000 "$work"/pdf/*.pdf | awk '/^stop_ms/ { print $2 }')

ratio() { echo "$1 $2" | awk '{ printf "%.2f", $1 / $2 }'; }
met() { echo "$1 $2 $3" | awk '{ print (($3 == "max" && $1 <= $2) || ($3 == "min" && $1 >= $2)) ? "yes" : "no" }'; }
b=$(ratio "$one_s" "$run_s")
c=$(ratio "$long1" "$long2")
echo "| Figure | Value | Goal | Met |"
echo "|---|---|---|---|"
echo "| a. Window's longest event-loop stall, 8 PDFs of 10 pages | $stall_ms ms | at most 100 ms | $(met "$stall_ms" 100 max) |"
echo "| b. That run in the window, $(nproc) jobs | $run_s s, ${b}× velinor-cli -j1 ($one_s s) | at least 1.7× | $(met "$b" 1.7 min) |"
echo "| c. One 96-page PDF, velinor-cli -j2 against -j1 | $long2 s against $long1 s, ${c}× | at least 1.6× | $(met "$c" 1.6 min) |"
echo "| d. From \"Arrêter\" until no converter is left | $stop_ms ms | at most 1000 ms | $(met "$stop_ms" 1000 max) |"
