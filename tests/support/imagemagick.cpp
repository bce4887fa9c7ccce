#include "imagemagick.h"

#include <QTemporaryDir>

QString imagemagick::sh(const QString &script, QProcessEnvironment env)
{
    static QTemporaryDir config; // out of the folders that the tests compare
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("PATH", env.value("PATH").remove(VELINOR_TESTS_DIR "/fakes:"));
    // Ghostscript's -c takes a short text only, hence one loop for all pages; it would read "%d"
    // in the name of what it writes. A named pipe would block cksum.
    return cli::sh(R"sh(c=$XDG_CONFIG_HOME/ImageMagick; mkdir -p $c; echo '<policymap>
        <policy domain="coder" rights="read|write" pattern="PDF"/></policymap>' >$c/policy.xml
        pdf() {
            gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile=.pdf -c "<</PageSize
                [${3:-200} ${3:-200}]>> setpagedevice 1 1 $2 {
                0 1 99 { dup 99 div setgray 2 mul 60 2 30 rectfill } for
                0 1 199 { dup 199 div 1 1 sethsbcolor 95 1 30 rectfill } for
                1 0 0 setrgbcolor 130 130 50 50 rectfill
                0 setgray 0 0 3 -1 roll 12.5 mul 8 rectfill showpage } for" && mv -- .pdf "$1"
        }
        course() {
            gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile=.pdf -c "<</PageSize
                [595 842]>> setpagedevice /Helvetica findfont 11 scalefont setfont 1 1 $2 {
                3 mod /p exch def 0 1 29 { dup dup 16 mul exch 10 idiv 12 mul add 700 exch sub
                150 exch moveto (Une ligne du cours, page et chapitre.) show pop } for
                [[110 420 (<)] [470 420 (>)] [300 90 (v)]] p get aload pop 3 1 roll moveto show
                p 0 eq { 300 770 moveto (^) show } if showpage } for" && mv -- .pdf "$1"
        }
        list() { find . -path ./out -prune -o -type f -exec cksum {} + -o -print | sort; }
        )sh" + script,
                   env);
}
