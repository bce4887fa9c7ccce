#ifndef VELINOR_TEST_IMAGEMAGICK_H
#define VELINOR_TEST_IMAGEMAGICK_H

#include "clidriver.h"

// What the end-to-end suites need around the real ImageMagick and Ghostscript.
namespace imagemagick {

// The real tool of this name on PATH, past the tests' fakes; empty when missing.
QString tool(const char *name);

// For cli::sh: the real tools only on PATH, and ImageMagick allowed to read PDF by a policy of
// its own, in a temporary XDG_CONFIG_HOME.
QProcessEnvironment environment();

// A PDF of square pages of 200 points, through Ghostscript. Each page shows a grey ramp, a
// rainbow, a red square in its top right quarter, nothing in its top left corner, and along its
// bottom edge a black bar as long as its number in sixteenths of the width.
bool makePdf(const QString &path, int pages);

// identify -format FORMAT, of the image read from its standard input: by its name, identify could
// read another file.
QString identify(const QString &image, const QString &format);

// A shell command that lists every file under the working folder but those in "out", with a
// checksum of what the regular ones hold (a named pipe would block).
const char *const snapshot =
    "find . -path ./out -prune -o -type f -exec cksum {} + -o -print | sort";

} // namespace imagemagick

// Fails under CI, where a missing ImageMagick is a set-up fault, and skips elsewhere.
#define REQUIRE_IMAGEMAGICK()                                                                      \
    for (const char *tool_ : {"convert", "identify", "gs"})                                        \
        if (imagemagick::tool(tool_).isEmpty()) {                                                  \
            QVERIFY2(!qEnvironmentVariableIsSet("CI"), tool_);                                     \
            QSKIP(tool_);                                                                          \
        }

#endif
