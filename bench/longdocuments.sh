#!/bin/bash
# Long PDFs, one converter call against calls on page ranges: wall time and the converter's peak
# resident memory (GNU time's "Maximum resident set size", the largest over the calls), with the
# window's default options (grey 4 bpp PNG) under the system's ImageMagick policy, PDF granted
# for this run only. Not a test: it prints a table and takes minutes.
#
#   bench/longdocuments.sh [PAGES:DPI ...]     default: 100:150 300:150 100:320 300:320 2000:150
#
# The ranges follow velinor's own plan (core/chunking.cpp): 8 pages a call at 150 dpi, 2 at
# 320 dpi, 32 at the converter's default 72 dpi, a last single page joining the call before it.
set -eu

cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(100:150 300:150 100:320 300:320 2000:150)

for tool in convert gs /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"
grant_pdf "$work"

options=(-quality 95 -type GrayScale -depth 4 -alpha remove)

now() { date +%s.%N; }

# Runs one converter call under GNU time; prints "exit peak_kB".
timed_convert() {
    local stats=$work/time.txt status=0
    /usr/bin/time -v -o "$stats" convert "$@" 2>"$work/stderr.txt" || status=$?
    echo "$status $(awk -F': ' '/Maximum resident set size/ { print $2 }' "$stats")"
}

# Ghostscript's own count holds at any length, where identify gives up from 600 pages
# (ImageRecursionDepthExceeded).
page_count() {
    gs -q -dNODISPLAY --permit-file-read="$1" -c "($1) (r) file runpdfbegin pdfpagecount = quit"
}

per_call() {
    case $1 in
        150) echo 8 ;;
        320) echo 2 ;;
        *) echo 32 ;;
    esac
}

printf '%s\n' "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(free -g | awk '/Mem:/ { print $2 }') GiB; $(convert -version | head -1 | cut -d' ' -f2-3), Ghostscript $(gs --version)"
printf '| %-5s | %-3s | %-28s | %-9s | %-5s | %-9s | %-9s | %-5s |\n' \
    pages dpi "one call" time "peak" "calls" time peak
printf '|%s|\n' "-------|-----|------------------------------|-----------|-------|-----------|-----------|-------"

for c in "${cases[@]}"; do
    pages=${c%%:*}
    dpi=${c##*:}
    pdf=$work/doc$pages.pdf
    [ -e "$pdf" ] || make_pdf "$pages" "$pdf"

    rm -rf "$work/out"
    mkdir "$work/out"
    start=$(now)
    read -r status peak < <(timed_convert -density "$dpi" "$pdf" "${options[@]}" "$work/out/doc.png")
    single_time=$(echo "$(now) - $start" | bc)
    written=$(find "$work/out" -name 'doc*.png' | wc -l)
    if [ "$status" = 0 ] && [ "$written" = "$pages" ]; then
        single="complete"
    else
        single="exit $status, $written images"
    fi
    single_peak=$peak

    rm -rf "$work/out"
    mkdir "$work/out"
    size=$(per_call "$dpi")
    start=$(now)
    count=$(page_count "$pdf")
    calls=0 chunk_peak=0 failed=0 first=0
    while [ "$first" -lt "$count" ]; do
        last=$((first + size - 1))
        [ $((count - 1 - last)) -eq 1 ] && last=$((last + 1))
        [ "$last" -ge "$count" ] && last=$((count - 1))
        read -r status peak < <(timed_convert -density "$dpi" "$pdf[$first-$last]" "${options[@]}" \
            -scene "$first" "$work/out/doc.png")
        calls=$((calls + 1))
        [ "$peak" -gt "$chunk_peak" ] && chunk_peak=$peak
        [ "$status" = 0 ] || { failed=1; break; }
        first=$((last + 1))
    done
    chunk_time=$(echo "$(now) - $start" | bc)
    written=$(find "$work/out" -name 'doc-*.png' | wc -l)
    [ "$failed" = 0 ] && [ "$written" = "$pages" ] || calls="$calls FAILED"

    printf '| %-5s | %-3s | %-28s | %7.1f s | %s MB | %-9s | %7.1f s | %s MB |\n' \
        "$pages" "$dpi" "$single" "$single_time" "$((single_peak / 1000))" "$calls" \
        "$chunk_time" "$((chunk_peak / 1000))"
done
