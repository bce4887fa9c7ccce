# Shared by the benchmark scripts (POSIX sh, sourced).

# Lets ImageMagick read PDF for this run alone: a policy under a private XDG_CONFIG_HOME,
# written by the set-up's own script when the system refuses PDF.
grant_pdf() {
    XDG_CONFIG_HOME="$1/config"
    export XDG_CONFIG_HOME
    "$(dirname "$0")/../scripts/pdf-policy.sh" >&2
}

# make_pdf PAGES FILE: A4 pages with ten grey squares, a red one and the page number in large
# type, like the tests' documents.
make_pdf() {
    gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile="$2" -c \
        "<</PageSize [595 842]>> setpagedevice /Helvetica findfont 200 scalefont setfont
         1 1 $1 { 0 1 9 { dup 10 div setgray 50 mul 50 add 50 40 40 rectfill } for
         1 0 0 setrgbcolor 400 700 100 100 rectfill 0 setgray
         150 400 moveto 10 string cvs show showpage } for"
}

# make_course PAGES FILE: A4 pages of three paragraphs of ten lines of text, as the tests' courses.
make_course() {
    gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile="$2" -c \
        "<</PageSize [595 842]>> setpagedevice /Helvetica findfont 11 scalefont setfont
         1 1 $1 { pop 0 1 29 { dup dup 16 mul exch 10 idiv 12 mul add 700 exch sub
         150 exch moveto (Une ligne du cours, page et chapitre.) show pop } for showpage } for"
}
