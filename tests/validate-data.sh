#!/bin/sh
# The menu entry and the AppStream metainfo, checked by the validators that software centres
# and distributions use. Without the validators the check is skipped (77), except in CI.
set -u
data=$1
for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool not found (sh scripts/setup.sh installs it)"
        [ "${CI:-}" = true ] && exit 1
        exit 77
    fi
done
status=0
for desktop in "$data"/*.desktop; do
    desktop-file-validate "$desktop" || status=1
done
for metainfo in "$data"/*.metainfo.xml; do
    appstreamcli validate --no-net "$metainfo" || status=1
done
exit $status
