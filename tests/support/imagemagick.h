#ifndef VELINOR_TEST_IMAGEMAGICK_H
#define VELINOR_TEST_IMAGEMAGICK_H

#include "clidriver.h"

// What the end-to-end suites need around the real ImageMagick and Ghostscript.
namespace imagemagick {

// cli::sh with the real tools only on PATH, ImageMagick allowed to read PDF by a policy of its
// own (in a temporary XDG_CONFIG_HOME), and two shell functions:
// - "pdf FILE PAGES [POINTS]" makes a PDF of square pages, 200 points wide unless told otherwise,
//   through Ghostscript. Each page shows a grey ramp, a rainbow, a red square in its top right
//   quarter, nothing in its top left corner, and along its bottom edge a black bar as long as its
//   number in sixteenths of the width;
// - "course FILE PAGES" makes a PDF of A4 pages holding three paragraphs of ten lines of text
//   in wide margins, and one mark beyond them, by turns on the right, below, and on the left
//   with another above: only the union of the pages reaches every side;
// - "list" lists every file under the working folder but those in "out", with a checksum of
//   what the regular ones hold.
QString sh(const QString &script,
           QProcessEnvironment env = QProcessEnvironment::systemEnvironment());

} // namespace imagemagick

// Fails under CI, where a missing ImageMagick is a set-up fault, and skips elsewhere.
#define REQUIRE_IMAGEMAGICK()                                                                      \
    if (imagemagick::sh("which convert identify gs | wc -l") != "3\n") {                           \
        QVERIFY2(!qEnvironmentVariableIsSet("CI"), "ImageMagick or Ghostscript missing");          \
        QSKIP("ImageMagick or Ghostscript missing");                                               \
    }

#endif
