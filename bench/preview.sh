#!/bin/sh
# How long "Aperçu..." takes to show its first screen of a course of PAGES A4 pages (default 36),
# at the default options and with "Adapter à l'écran de la calculatrice" (two screens wide):
# three windows each, by turns, the median counts. Prints the README's table rows (Markdown).
# PDF=FILE times that document instead (for instance a real manual: Debian's libtasn1-doc has a
# 36-page one, /usr/share/doc/libtasn1-doc/libtasn1.pdf).
# Usage: sh bench/preview.sh [BUILD_FOLDER]   (default: build)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
pages=${PAGES:-36}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
. "$here/bench/common.sh"
grant_pdf "$work"
course_or_pdf "$pages" "$work/cours.pdf"
cmake --build "$build" --target velinor-bench-window >/dev/null
first_screen() {
    QT_QPA_PLATFORM=offscreen "$build/velinor-bench-window" preview "$@" "$work/cours.pdf" \
        2>/dev/null | awk '/^first_screen_ms/ { print $2 }'
}
plain= fitted=
for round in 1 2 3; do
    plain="$plain $(first_screen)"
    fitted="$fitted $(first_screen --fit)"
done
row() {
    echo "$2" | tr ' ' '\n' | sed '/^$/d' | sort -n | awk -v what="$1" -v p="$pages" -v d="$document" '
        { v[NR] = $1 } END { m = v[int((NR + 1) / 2)]
        printf "| Aperçu..., first screen, %d-page %s, %s (median of 3) | %.2f s | at most 3 s | %s |\n",
            p, d, what, m / 1000, m <= 3000 ? "yes" : "no" }'
}
row "default options" "$plain"
row "fitted to 2 screens" "$fitted"
