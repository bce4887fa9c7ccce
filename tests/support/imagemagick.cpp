#include "imagemagick.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace imagemagick {

static QString findPastFakes(const QString &name)
{
    QStringList dirs;
    const QString fakes = QDir::cleanPath(QStringLiteral(VELINOR_TESTS_DIR "/fakes"));
    for (const QString &d : qEnvironmentVariable("PATH").split(QDir::listSeparator()))
        if (!d.isEmpty() && QDir::cleanPath(d) != fakes)
            dirs << d;
    return QStandardPaths::findExecutable(name, dirs);
}

QString converter()
{
    return findPastFakes(QStringLiteral("convert"));
}

QString identify()
{
    return findPastFakes(QStringLiteral("identify"));
}

QString ghostscript()
{
    return findPastFakes(QStringLiteral("gs"));
}

bool available(QString *why)
{
    QStringList missing;
    if (converter().isEmpty())
        missing << QStringLiteral("convert");
    if (identify().isEmpty())
        missing << QStringLiteral("identify");
    if (ghostscript().isEmpty())
        missing << QStringLiteral("gs");
    if (why)
        *why = QStringLiteral("ImageMagick or Ghostscript missing: ") +
               missing.join(QLatin1String(", "));
    return missing.isEmpty();
}

PdfPolicy::PdfPolicy()
{
    QDir().mkpath(dir.filePath(QStringLiteral("ImageMagick")));
    QFile f(dir.filePath(QStringLiteral("ImageMagick/policy.xml")));
    if (f.open(QIODevice::WriteOnly))
        f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<policymap>\n"
                "  <policy domain=\"coder\" rights=\"read|write\" pattern=\"PDF\" />\n"
                "</policymap>\n");
}

QByteArray pathWithoutFakes()
{
    QStringList dirs = qEnvironmentVariable("PATH").split(QDir::listSeparator());
    dirs.removeAll(QDir::cleanPath(QStringLiteral(VELINOR_TESTS_DIR "/fakes")));
    return dirs.join(QDir::listSeparator()).toUtf8();
}

RealConverter::RealConverter()
    : config("XDG_CONFIG_HOME", policy.path().toUtf8()), path("PATH", pathWithoutFakes())
{}

bool makePdf(const QString &path, int pages, int widthPoints, int heightPoints)
{
    // Ten shades of grey and a red square on every page, so that the colour modes differ.
    QString program = QStringLiteral("<</PageSize [%1 %2]>> setpagedevice "
                                     "/Helvetica findfont 200 scalefont setfont "
                                     "/decor { 0 1 9 { dup 10 div setgray 50 mul 50 add 50 40 40 "
                                     "rectfill } for 1 0 0 setrgbcolor 400 700 100 100 rectfill "
                                     "0 setgray } def ")
                          .arg(widthPoints)
                          .arg(heightPoints);
    // A loop, not a page of program text per page: Ghostscript's -c takes a short text only.
    program +=
        QStringLiteral("1 1 %1 { decor 150 400 moveto 8 string cvs show showpage } for").arg(pages);
    QProcess gs;
    gs.start(ghostscript(),
             {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"),
              QStringLiteral("-dSAFER"), QStringLiteral("-sDEVICE=pdfwrite"),
              QStringLiteral("-sOutputFile=") + path, QStringLiteral("-c"), program});
    return gs.waitForFinished(120000) && gs.exitStatus() == QProcess::NormalExit &&
           gs.exitCode() == 0 && QFileInfo(path).size() > 0;
}

QString identifyFormat(const QString &file, const QString &format)
{
    QProcess p;
    p.start(identify(), {QStringLiteral("-format"), format, file});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace imagemagick
