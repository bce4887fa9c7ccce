#!/bin/sh
# Measures what renaming to ".tns" right after each file costs a long run: FILES (default 10,000)
# empty files converted by the fake converter of tests/fakes into an empty folder by velinor-cli
# (own images, --tns) and by the window (by prefix, "Renommer en .tns"), without renaming, with,
# with again and without again, so that the machine's drift weighs on both alike; the mean of
# each pair counts. Prints the README's table rows (Markdown).
# Usage: sh bench/tns.sh [BUILD_FOLDER]
# (default: build-bench; a new folder is configured as a Release build, an existing one is used
# as it is)
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-bench}
files=${FILES:-10000}

echo "Building velinor-cli and velinor-bench-window in $build..." >&2
[ -f "$build/CMakeCache.txt" ] ||
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target velinor-cli velinor-bench-window >/dev/null
cli=$build/velinor-cli
window=$build/velinor-bench-window

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
mkdir "$work/src"
(cd "$work/src" && seq -f 'doc%05g.pdf' 1 "$files" | xargs touch)
set -- "$work"/src/*.pdf
PATH="$here/tests/fakes:$PATH"
export PATH QT_QPA_PLATFORM=offscreen

# check NAME SUFFIX: every file gave an image ending in SUFFIX, so that a run that did not do its
# work cannot pass for a fast one.
check() {
    [ "$(ls "$work/$1" | grep -c "$2\$")" -eq "$files" ] ||
        { echo "bench: $1 does not hold $files images ending in $2" >&2; exit 1; }
}
# One run into the new destination NAME, in milliseconds.
cli_ms() {
    name=$1
    shift
    t0=$(date +%s%N)
    "$cli" -q -d "$work/$name" "$@" >/dev/null 2>&1 || true
    t1=$(date +%s%N)
    echo "$t0 $t1" | awk '{ printf "%.0f\n", ($2 - $1) / 1e6 }'
}
window_ms() {
    name=$1
    shift
    "$window" convert "$work/$name" 1 "$@" 2>/dev/null | awk '$1 == "run_ms" { printf "%.0f\n", $2 }'
}

mean() { echo "$1 $2" | awk '{ printf "%.0f", ($1 + $2) / 2 }'; }
echo "velinor-cli, $files files, without, with --tns, with, without..." >&2
a=$(cli_ms cli "$@")
b=$(cli_ms cli-tns --tns "$@")
check cli-tns .png.tns
c=$(cli_ms cli-tns2 --tns "$@")
d=$(cli_ms cli2 "$@")
check cli2 .png
cli_plain=$(mean "$a" "$d")
cli_tns=$(mean "$b" "$c")
rm -rf "$work"/cli*
echo "The window, the same with \"Renommer en .tns\"..." >&2
a=$(window_ms window "$@")
b=$(window_ms window-tns --tns "$@")
check window-tns .png.tns
c=$(window_ms window-tns2 --tns "$@")
d=$(window_ms window2 "$@")
check window2 .png
window_plain=$(mean "$a" "$d")
window_tns=$(mean "$b" "$c")

ratio() { echo "$1 $2" | awk '{ printf "%.2f", $1 / $2 }'; }
met() { echo "$1" | awk '{ print ($1 <= 1.3) ? "yes" : "no" }'; }
s() { echo "$1" | awk '{ printf "%.1f s", $1 / 1000 }'; }
c=$(ratio "$cli_tns" "$cli_plain")
w=$(ratio "$window_tns" "$window_plain")
echo "| Figure | Value | Goal | Met |"
echo "|---|---|---|---|"
echo "| velinor-cli, $files files, --tns against without (means of 2) | $(s "$cli_tns") against $(s "$cli_plain"), ${c}× | at most 1.3× | $(met "$c") |"
echo "| Window, $files files, \"Renommer en .tns\" against without (means of 2) | $(s "$window_tns") against $(s "$window_plain"), ${w}× | at most 1.3× | $(met "$w") |"
