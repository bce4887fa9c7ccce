#!/bin/sh
# Functions of more than 60 lines in the .cpp files under the given folders (by default the
# program's own), one "file:line: N lines: signature" each; nothing when every one is short.
# A function starts at a line at column 0 that is neither a comment, a preprocessor line nor a
# brace, and ends at the next "}" at column 0: the committed .clang-format writes them so.
#   sh scripts/long-functions.sh [FOLDER...]
[ $# -gt 0 ] || set -- core cli mainwindow app
find "$@" -name '*.cpp' | sort | xargs awk -v limit=60 '
    FNR == 1 { start = 0 }
    /^[^ \t\/#{}]/ { start = FNR; signature = $0; next }
    /^}/ {
        if (start && FNR - start + 1 > limit)
            printf "%s:%d: %d lines: %s\n", FILENAME, start, FNR - start + 1, signature
        start = 0
    }'
