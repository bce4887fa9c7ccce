#!/bin/sh
# French texts that the translation file holds more than once, in any context: a message both
# front ends show belongs in core's "velinor" context, once. Prints nothing when there is none.
#   sh scripts/duplicate-texts.sh [translations/velinor_en.ts]
python3 - "${1:-translations/velinor_en.ts}" <<'PY'
import collections, re, sys
text = open(sys.argv[1], encoding="utf-8").read()
counts = collections.Counter(re.findall(r"<source>(.*?)</source>", text, re.S))
for source, count in counts.items():
    if count > 1:
        print(f"{count}x {source}")
PY
