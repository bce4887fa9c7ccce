#ifndef VELINOR_TEST_IMAGEMAGICK_H
#define VELINOR_TEST_IMAGEMAGICK_H

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "testenv.h"

// What the end-to-end suites need around the real ImageMagick and Ghostscript.
namespace imagemagick {

// The real converter and its tools, looked up on PATH past the tests' fake converter; empty
// when missing.
QString converter();
QString identify();
QString ghostscript();

// True when the tools are there. When they are missing, a test calls QSKIP outside CI and
// QFAIL under CI=true, where a missing ImageMagick is a set-up fault, not a reason to pass.
bool available(QString *why);

// A folder holding ImageMagick/policy.xml that lets ImageMagick read and write PDF. Point
// XDG_CONFIG_HOME at path() while converting.
class PdfPolicy
{
public:
    PdfPolicy();
    QString path() const { return dir.path(); }

private:
    QTemporaryDir dir;
};

// PATH without the tests' fakes, for a velinor-cli that must meet the real tools only.
QByteArray pathWithoutFakes();

// For the life of a test case: ImageMagick may read PDF, and a window finds the real converter
// on PATH rather than the tests' fake.
class RealConverter
{
public:
    RealConverter();

private:
    PdfPolicy policy;
    ScopedEnv config;
    ScopedEnv path;
};

// Writes a PDF of `pages` pages (A4 unless another size in points is given), each with its
// number in large type, through Ghostscript.
bool makePdf(const QString &path, int pages, int widthPoints = 595, int heightPoints = 842);

// identify -format FORMAT FILE, its standard output trimmed; empty on failure.
QString identifyFormat(const QString &file, const QString &format);

} // namespace imagemagick

// Fails under CI, skips elsewhere, when ImageMagick or Ghostscript is missing.
#define REQUIRE_IMAGEMAGICK()                                                                      \
    do {                                                                                           \
        QString why_;                                                                              \
        if (!imagemagick::available(&why_)) {                                                      \
            if (qEnvironmentVariableIsSet("CI"))                                                   \
                QFAIL(qPrintable(why_));                                                           \
            QSKIP(qPrintable(why_));                                                               \
        }                                                                                          \
    } while (false)

#endif
