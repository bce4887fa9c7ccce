#!/bin/sh
# Debian's ImageMagick refuses to read PDF by its security policy. A per-user policy that grants
# read and write on PDF lifts that; this writes one when PDF is refused and none exists yet.
set -eu

config="${XDG_CONFIG_HOME:-$HOME/.config}/ImageMagick"
policy="$config/policy.xml"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile="$work/probe.pdf" -c showpage
if convert "$work/probe.pdf" "$work/probe.png" >/dev/null 2>"$work/err"; then
    exit 0
fi
if ! grep -q "security policy" "$work/err"; then
    echo "velinor: ImageMagick could not read a test PDF:" >&2
    cat "$work/err" >&2
    exit 0
fi
if [ -e "$policy" ]; then
    echo "velinor: ImageMagick refuses PDF, and $policy already exists: add this line to it:"
    echo '  <policy domain="coder" rights="read|write" pattern="PDF" />'
    exit 0
fi
mkdir -p "$config"
cat > "$policy" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by velinor's set-up: lets ImageMagick read and write PDF for this user. -->
<policymap>
  <policy domain="coder" rights="read|write" pattern="PDF" />
</policymap>
XML
echo "velinor: ImageMagick refused PDF; wrote $policy to allow it for this user."
