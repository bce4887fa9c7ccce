#!/bin/sh
# Takes the README's pictures: the window as velinor starts in French under a virtual X server,
# captured with ImageMagick's import, then each tab page (docs/tab-1.png ... tab-6.png); then,
# from a course made with Ghostscript, the first calculator screen (320×240 at 1:1) of its first
# page at the default options and fitted to one, two and three screens (docs/screen-default.png,
# screen-320.png ...), and Aperçu... of it fitted to two screens (docs/preview.png).
set -eu
build=${1:-build}
out=${2:-docs/window.png}
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
docs=$(dirname "$out")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
. "$here/bench/common.sh"
grant_pdf "$work"
make_course 2 "$work/cours.pdf"
cd "$build"
for width in default 320 640 960; do
    fit=; [ $width = default ] || fit="--fit $width"
    # shellcheck disable=SC2086 # the option and its value are two words
    ./velinor-cli -q -d "$work/$width" $fit "$work/cours.pdf"
    convert "$work/$width/cours-0.png" -crop 320x240+0+0 +repage "$docs/screen-$width.png"
done
LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 xvfb-run -a -s "-screen 0 800x700x24" sh -c '
    ./velinor &
    pid=$!
    sleep 3
    import -window root -trim +repage "$0"
    kill $pid
    tests/tabshots "$(dirname "$0")" "$1"' "$out" "$work/cours.pdf"
echo "wrote $out, the tab pages, the screens and the preview beside it"
