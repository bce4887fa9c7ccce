#!/bin/sh
# What the package installs besides the programs, read as software centres and Debian read it:
# the menu entry and the AppStream metainfo by their validators, the manual pages by man (a
# warning fails), the changelog by dpkg (its version must be the project's) and the copyright in
# its machine-readable form. Without these tools the check is skipped (77), except in CI.
set -u
data=$1
version=$2
# Debian's own Python, which python3-debian serves, whatever python3 comes first on PATH.
python=/usr/bin/python3
missing() {
    echo "$1 not found (sh scripts/setup.sh installs it)"
    [ "${CI:-}" = true ] && exit 1
    exit 77
}
for tool in desktop-file-validate appstreamcli man dpkg-parsechangelog; do
    command -v "$tool" >/dev/null 2>&1 || missing "$tool"
done
"$python" -c 'import debian.copyright' 2>/dev/null || missing python3-debian
status=0
for desktop in "$data"/*.desktop; do
    desktop-file-validate "$desktop" || status=1
done
for metainfo in "$data"/*.metainfo.xml; do
    appstreamcli validate --no-net "$metainfo" || status=1
done
for page in "$data"/*.1 "$data"/fr/*.1; do
    warnings=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings"; status=1; }
done
found=$(dpkg-parsechangelog -l "$data/changelog" -S Version 2>&1)
[ "$found" = "$version" ] || { echo "$data/changelog: $found, not $version"; status=1; }
"$python" - "$data/copyright" <<'PY' || status=1
import sys
from debian.copyright import Copyright
with open(sys.argv[1], encoding="utf-8") as f:
    copyright = Copyright(f)
texts = {p.license.synopsis for p in copyright.all_license_paragraphs()}
for p in copyright.all_files_paragraphs():
    if not p.license.text and p.license.synopsis not in texts:
        sys.exit(f"{sys.argv[1]}: no text for the licence {p.license.synopsis}")
PY
exit $status
