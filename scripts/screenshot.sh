#!/bin/sh
# Takes the README's pictures: the window as velinor starts in French under a virtual X server,
# captured with ImageMagick's import, then each tab page (docs/tab-1.png ... tab-5.png).
set -eu
build=${1:-build}
out=${2:-docs/window.png}
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
cd "$build"
LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 xvfb-run -a -s "-screen 0 800x700x24" sh -c '
    ./velinor &
    pid=$!
    sleep 3
    import -window root -trim +repage "$0"
    kill $pid
    tests/tabshots "$(dirname "$0")"' "$out"
echo "wrote $out and the tab pages beside it"
