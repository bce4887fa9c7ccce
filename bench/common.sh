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

# make_course PAGES FILE: A4 pages of a course as students get them: a heading, then paragraphs
# of 11-point text in 2.5 cm margins, wrapped word by word, and the page number at the foot.
make_course() {
    gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile="$2" -c "
        <</PageSize [595 842]>> setpagedevice
        /latin { findfont dup length dict begin { 1 index /FID ne { def } { pop pop } ifelse }
            forall /Encoding ISOLatin1Encoding def currentdict end definefont pop } def
        /Texte /Times-Roman latin /Titre /Helvetica-Bold latin
        /lm 71 def /rm 524 def
        /nl { /y y 14 sub def lm y moveto } def
        /word { dup stringwidth pop currentpoint pop add rm gt { nl } if show ( ) show } def
        /para { { ( ) search { exch pop word } { word exit } ifelse } loop nl nl } def
        /one (Une suite est dite croissante lorsque chacun de ses termes est plus grand que le \
pr\351c\351dent. Pour le montrer, on \351tudie le signe de la diff\351rence de deux termes \
cons\351cutifs, ou bien, lorsque les termes sont positifs, on compare leur quotient \340 1.) def
        /two (Une suite croissante et major\351e converge : sa limite est le plus petit de ses \
majorants. On retiendra aussi qu'une suite g\351om\351trique de raison q strictement comprise \
entre -1 et 1 tend vers 0, et que la somme de ses premiers termes se calcule sans les \
additionner un par un : il suffit de conna\356tre le premier terme, la raison et le nombre de \
termes.) def
        1 1 $1 { /n exch def /y 771 def
            /Titre findfont 14 scalefont setfont nl
            (Chapitre ) show n 4 string cvs show ( : les suites num\351riques) show nl nl
            /Texte findfont 11 scalefont setfont
            1 1 5 { pop one para two para } for
            297 40 moveto n 4 string cvs show showpage } for"
}

# course_or_pdf PAGES FILE: the document that PDF names, copied to FILE, or else a course of
# PAGES pages (make_course); sets document to what it is and pages to its page count.
course_or_pdf() {
    if [ -n "${PDF:-}" ]; then
        cp "$PDF" "$2"
        document=$(basename "$PDF")
        pages=$(gs -q -dNODISPLAY -dNOSAFER -c "($2) (r) file runpdfbegin pdfpagecount = quit")
    else
        make_course "$1" "$2"
        document="course made with Ghostscript"
        pages=$1
    fi
}
