#!/bin/sh
# Measures the figures of the README's "Benchmarks" table and prints that table (Markdown):
#   1. overhead: 200 small files with a converter that does nothing (/bin/true, reached through
#      a link named convert, with an identify beside it that does nothing either), through the
#      window's run and through velinor-cli -j1, against a shell loop running it 200 times, and
#      the same calls made as velinor makes them with nothing else (velinor-bench-calls);
#   2. parallel speed: 8 copies of a 10-page PDF with the real ImageMagick, -j2 against -j1;
#   3. peak resident memory of the window listing 10,000 files and of velinor-cli converting.
# Usage: sh bench/cli-and-window.sh [BUILD_FOLDER]
# (default: build-bench; a new folder is configured as a Release build, an existing one is used
# as it is)
# REPEATS (default 15) sets how many times each overhead figure is measured; the median counts.
set -eu
. "$(dirname "$0")/common.sh"

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-bench}
repeats=${REPEATS:-15}
files=200
listed=10000

echo "Building velinor-cli, velinor-bench-window and velinor-bench-calls in $build..." >&2
[ -f "$build/CMakeCache.txt" ] ||
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target velinor-cli velinor-bench-window velinor-bench-calls >/dev/null
cli=$build/velinor-cli
window=$build/velinor-bench-window
calls=$build/velinor-bench-calls

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# Wall-clock time of a command in milliseconds, two decimals.
time_ms() {
    t0=$(date +%s%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s%N)
    echo "$t0 $t1" | awk '{ printf "%.2f\n", ($2 - $1) / 1e6 }'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# Runs the command and prints the peak resident memory it reached, in kB, read from /proc while
# it runs (VmHWM only grows, so the last reading is the peak).
peak_kb() {
    "$@" >/dev/null 2>&1 &
    pid=$!
    peak=0
    while kill -0 "$pid" 2>/dev/null; do
        now=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
        [ -n "$now" ] && [ "$now" -gt "$peak" ] && peak=$now
        sleep 0.05
    done
    wait "$pid" || true
    echo "$peak"
}

# "value goal-percentage" -> "+x.x %" and whether the overhead stays within the goal.
overhead() {
    echo "$1 $2" | awk '{ printf "%+.1f %%", ($1 / $2 - 1) * 100 }'
}
within() {
    echo "$1 $2 $3" | awk '{ print (($1 / $2 - 1) * 100 <= $3) ? "yes" : "no" }'
}

# 1. Overhead ---------------------------------------------------------------------------------
echo "Overhead: $files files, $repeats rounds..." >&2
mkdir -p "$work/bin" "$work/src" "$work/out"
ln -s /bin/true "$work/bin/convert"
ln -s /bin/true "$work/bin/identify"
i=1
while [ "$i" -le "$files" ]; do
    echo x >"$work/src/doc$(printf %03d "$i").pdf"
    i=$((i + 1))
done
set -- "$work"/src/*.pdf

loop() {
    for f in "$@"; do
        name=${f##*/}
        "$work/bin/convert" -density 150 "$f" -quality 95 -type GrayScale -depth 4 -alpha remove \
            "$work/out/${name%.pdf}.png"
    done
}

# One round times each variant once, in turn, so that the machine's drift during the rounds
# weighs on all of them alike; the median over the rounds counts. The window is started anew for
# each round and its first run is timed, as a user's first click would be.
window_run() {
    PATH="$work/bin:$PATH" QT_QPA_PLATFORM=offscreen "$window" convert "$work/out" 1 "$@" \
        2>/dev/null | awk '$1 == "run_ms" { print $2 }'
}
: >"$work/times"
round=0
while [ "$round" -lt "$repeats" ]; do
    {
        echo "loop $(time_ms loop "$@")"
        echo "calls $(time_ms "$calls" "$work/bin/convert" "$work/out" "$@")"
        echo "cli $(time_ms "$cli" -j1 --converter "$work/bin/convert" -d "$work/out" "$@")"
        echo "cli_single $(time_ms "$cli" -j1 --single-image --converter "$work/bin/convert" \
            -d "$work/out" "$@")"
        echo "window $(window_run "$@")"
        echo "window_single $(window_run --single-image "$@")"
    } >>"$work/times"
    round=$((round + 1))
done
median_of() {
    awk -v v="$1" '$1 == v { print $2 }' "$work/times" | median
}
loop_ms=$(median_of loop)
calls_ms=$(median_of calls)
cli_ms=$(median_of cli)
cli_single_ms=$(median_of cli_single)
window_ms=$(median_of window)
window_single_ms=$(median_of window_single)

# 2. Parallel speed ---------------------------------------------------------------------------
echo "Parallel speed: 8 copies of a 10-page PDF with ImageMagick..." >&2
convert=$(command -v convert)
mkdir -p "$work/pdf"
grant_pdf "$work"
make_pdf 10 "$work/pdf/document.pdf"
c=1
while [ "$c" -le 8 ]; do
    cp "$work/pdf/document.pdf" "$work/pdf/copy$c.pdf"
    c=$((c + 1))
done
rm "$work/pdf/document.pdf"
# -j1, -j2, -j2, -j1: each has one early and one late run; the mean of the two counts.
jobs_ms() {
    time_ms "$cli" "-j$1" --converter "$convert" -d "$work/j$1" "$work"/pdf/*.pdf
}
a=$(jobs_ms 1)
b=$(jobs_ms 2)
c=$(jobs_ms 2)
d=$(jobs_ms 1)
j1_ms=$(echo "$a $d" | awk '{ printf "%.2f", ($1 + $2) / 2 }')
j2_ms=$(echo "$b $c" | awk '{ printf "%.2f", ($1 + $2) / 2 }')
[ "$(ls "$work/j1" | wc -l)" -eq 80 ] && [ "$(ls "$work/j2" | wc -l)" -eq 80 ] || {
    echo "bench: the PDFs were not converted into 80 images each time" >&2
    exit 1
}

# 3. Memory -----------------------------------------------------------------------------------
echo "Memory: the window listing $listed files, velinor-cli converting..." >&2
memory=$(QT_QPA_PLATFORM=offscreen PATH="$work/bin:$PATH" "$window" list "$listed" 2>/dev/null)
empty_kb=$(echo "$memory" | awk '$1 == "empty_kb" { print $2 }')
listed_kb=$(echo "$memory" | awk '$1 == "listed_kb" { print $2 }')
mkdir -p "$work/many"
i=1
while [ "$i" -le "$listed" ]; do
    : >"$work/many/doc$i.pdf"
    i=$((i + 1))
done
cli_many_kb=$(peak_kb "$cli" -j2 --converter "$work/bin/convert" -d "$work/out" "$work"/many/*.pdf)
cli_pdf_kb=$(peak_kb "$cli" -j2 --converter "$convert" -d "$work/j2" "$work"/pdf/*.pdf)

mb() { echo "$1" | awk '{ printf "%.1f MB", $1 / 1024 }'; }
s() { echo "$1" | awk '{ printf "%.2f s", $1 / 1000 }'; }
speedup=$(echo "$j1_ms $j2_ms" | awk '{ printf "%.2f", $1 / $2 }')

cat <<EOF
| Figure | Value | Goal | Met |
|---|---|---|---|
| Shell loop, $files runs of a converter that does nothing | $loop_ms ms | reference | |
| The same calls as velinor makes them, nothing else (velinor-bench-calls) | $calls_ms ms ($(overhead "$calls_ms" "$loop_ms")) | reference | |
| Window run, $files files | $window_ms ms ($(overhead "$window_ms" "$loop_ms")) | at most +10 % | $(within "$window_ms" "$loop_ms" 10) |
| Window run, $files files, "Créer une seule image" (no page count) | $window_single_ms ms ($(overhead "$window_single_ms" "$loop_ms")) | at most +10 % | $(within "$window_single_ms" "$loop_ms" 10) |
| velinor-cli -j1, $files files | $cli_ms ms ($(overhead "$cli_ms" "$loop_ms")) | at most +10 % | $(within "$cli_ms" "$loop_ms" 10) |
| velinor-cli -j1, $files files, --single-image (no page count) | $cli_single_ms ms ($(overhead "$cli_single_ms" "$loop_ms")) | at most +10 % | $(within "$cli_single_ms" "$loop_ms" 10) |
| velinor-cli -j1, 8 PDFs of 10 pages, ImageMagick (mean of 2) | $(s "$j1_ms") | reference | |
| velinor-cli -j2, the same | $(s "$j2_ms") (${speedup}× faster) | at least 1.7× | $(echo "$speedup" | awk '{ print ($1 >= 1.7) ? "yes" : "no" }') |
| Window peak memory, empty list | $(mb "$empty_kb") | none set | |
| Window peak memory, $listed files listed | $(mb "$listed_kb") (+$(mb $((listed_kb - empty_kb)))) | none set | |
| velinor-cli peak memory, $listed files, -j2, converter doing nothing | $(mb "$cli_many_kb") | none set | |
| velinor-cli peak memory, 8 PDFs, -j2, ImageMagick | $(mb "$cli_pdf_kb") | none set | |
EOF
echo "Machine: $(nproc) processors; $(convert -version | head -n 1)" >&2
