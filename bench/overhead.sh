#!/bin/sh
# Compares two builds' overhead on the run of bench/cli-and-window.sh (200 small files, a
# converter that does nothing, against a shell loop making the same calls): each round times the
# loop, velinor-cli -j1 of each build and the window of each build, in turn, so that the machine's
# drift weighs on all of them alike; the medians count. Then as many rounds under `perf stat`,
# for the processor time (user and system, the converters included) of the loop and of each
# velinor-cli, which other work on the machine disturbs less than the wall clock.
# Usage: sh bench/overhead.sh BEFORE_BUILD AFTER_BUILD
# (Release build folders with velinor-cli and velinor-bench-window built; ROUNDS, default 15)
set -eu

before=$1
after=$2
rounds=${ROUNDS:-15}
files=200

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
mkdir -p "$work/bin" "$work/src" "$work/out"
ln -s /bin/true "$work/bin/convert"
ln -s /bin/true "$work/bin/identify"
i=1
while [ "$i" -le "$files" ]; do
    echo x >"$work/src/doc$(printf %03d "$i").pdf"
    i=$((i + 1))
done
set -- "$work"/src/*.pdf

# The calls of bench/cli-and-window.sh's loop, the ones velinor-cli makes; as a script of its own
# too, for perf stat, which costs it one more shell start (about 1 ms).
loop() {
    for f in "$@"; do
        name=${f##*/}
        "$work/bin/convert" -density 150 "$f" -quality 95 -type GrayScale -depth 4 -alpha remove \
            "$work/out/${name%.pdf}.png"
    done
}
cat >"$work/loop.sh" <<'EOF'
for f in "$@"; do
    name=${f##*/}
    "$work/bin/convert" -density 150 "$f" -quality 95 -type GrayScale -depth 4 -alpha remove \
        "$work/out/${name%.pdf}.png"
done
EOF
cli() {
    build=$1
    shift
    "$build/velinor-cli" -j1 --converter "$work/bin/convert" -d "$work/out" "$@"
}
window() {
    build=$1
    shift
    PATH="$work/bin:$PATH" QT_QPA_PLATFORM=offscreen "$build/velinor-bench-window" convert \
        "$work/out" 1 "$@" 2>/dev/null | awk '$1 == "run_ms" { print $2 }'
}
time_ms() {
    t0=$(date +%s%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s%N)
    echo "$t0 $t1" | awk '{ printf "%.2f\n", ($2 - $1) / 1e6 }'
}
# Processor time of the command and of everything it starts, in milliseconds.
cpu_ms() {
    perf stat -x, -e task-clock -o "$work/perf" -- "$@" >/dev/null 2>&1
    awk -F, '/task-clock/ { printf "%.2f\n", $1 }' "$work/perf"
}

load=$(cut -d ' ' -f 1 /proc/loadavg)
: >"$work/times"
round=0
while [ "$round" -lt "$rounds" ]; do
    {
        echo "loop $(time_ms loop "$@")"
        echo "cli_before $(time_ms cli "$before" "$@")"
        echo "cli_after $(time_ms cli "$after" "$@")"
        echo "window_before $(window "$before" "$@")"
        echo "window_after $(window "$after" "$@")"
    } >>"$work/times"
    round=$((round + 1))
done
round=0
while [ "$round" -lt "$rounds" ]; do
    {
        echo "loop_cpu $(cpu_ms env work="$work" sh "$work/loop.sh" "$@")"
        echo "cli_before_cpu $(cpu_ms "$before/velinor-cli" -j1 --converter "$work/bin/convert" \
            -d "$work/out" "$@")"
        echo "cli_after_cpu $(cpu_ms "$after/velinor-cli" -j1 --converter "$work/bin/convert" \
            -d "$work/out" "$@")"
    } >>"$work/times"
    round=$((round + 1))
done

median_of() {
    awk -v v="$1" '$1 == v { print $2 }' "$work/times" | sort -n |
        awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
least_of() {
    awk -v v="$1" '$1 == v { print $2 }' "$work/times" | sort -n | head -n 1
}
# The median and its ratio to the reference's, then the least of the rounds and its ratio.
row() {
    echo "$1 $(median_of "$1") $(median_of "$2") $(least_of "$1") $(least_of "$2")" |
        awk '{ printf "%-15s %8.2f ms  %.3f×   least %8.2f ms  %.3f×\n", $1, $2, $2 / $3, $4,
               $4 / $5 }'
}
echo "Medians of $rounds rounds, $(nproc) processors, 1-minute load before: $load, after: \
$(cut -d ' ' -f 1 /proc/loadavg)"
for v in loop cli_before cli_after window_before window_after; do
    row "$v" loop
done
echo "Processor time (user + system, the converters included):"
for v in loop_cpu cli_before_cpu cli_after_cpu; do
    row "$v" loop_cpu
done
