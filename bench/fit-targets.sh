#!/bin/sh
# Checks what --fit 640 and --cbz promise on a document: a 12-page course that Ghostscript writes,
# or PDF=FILE (a real one: Debian's libtasn1-doc has /usr/share/doc/libtasn1-doc/libtasn1.pdf).
# Every page exactly 640 px wide, its ink at most two screens wide and touching no edge, the
# closest ink within 3 % of each side on at least one page; the .cbz.tns holding, in order, the
# pixels of the images the same run writes without it. Prints the README's table rows (Markdown).
# Usage: sh bench/fit-targets.sh [BUILD_FOLDER]   (default: build)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
. "$here/bench/common.sh"
grant_pdf "$work"
course_or_pdf 12 "$work/cours.pdf"
"$build/velinor-cli" -q -j2 -d "$work/fit" --fit 640 "$work/cours.pdf"
"$build/velinor-cli" -q -j2 -d "$work/cbz" --fit 640 --cbz "$work/cours.pdf"
cd "$work/fit"
ls | sort -t- -k2n | while read -r page; do identify -format '%w %h %@\n' "$page"; done | awk -v d="$document" '
    { split($3, g, /[x+]/); l = g[3]; t = g[4]; r = $1 - l - g[1]; b = $2 - t - g[2]
      n++; wide += $1 == 640; across += g[1] <= 640; uncut += l > 0 && t > 0 && r > 0 && b > 0
      if (n == 1 || l < L) L = l; if (n == 1 || t < T) T = t
      if (n == 1 || r < R) R = r; if (n == 1 || b < B) B = b }
    END { m = .03 * 640; near = L <= m && T <= m && R <= m && B <= m
        printf "| --fit 640, %d-page %s: pages 640 px wide, ink at most 2 screens wide, no ink cut | %d, %d, %d of %d | all | %s |\n",
            n, d, wide, across, uncut, n, wide == n && across == n && uncut == n ? "yes" : "no"
        printf "| --fit 640, %d-page %s: closest ink to the left, top, right, bottom | %d, %d, %d, %d px | at most %.1f px (3 %%) | %s |\n",
            n, d, L, T, R, B, m, near ? "yes" : "no" }'
loose=$(ls | sort -t- -k2n | while read -r page; do identify -format "%#\n" "$page"; done)
packed=$(unzip -Z1 "$work/cbz/cours.cbz.tns" | while read -r entry; do
    unzip -p "$work/cbz/cours.cbz.tns" "$entry" | identify -format "%#\n" -; done)
order=$(unzip -Z1 "$work/cbz/cours.cbz.tns" | sort -c 2>&1 && echo sorted)
[ "$loose" = "$packed" ] && [ "$order" = sorted ] && same=yes || same=no
echo "| --fit 640 --cbz, $document: the archive's entries, in name order, show the pages, in order | $(unzip -Z1 "$work/cbz/cours.cbz.tns" | wc -l) entries, $same | the same pixels, in order | $same |"
