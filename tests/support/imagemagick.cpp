#include "imagemagick.h"

#include "testenv.h"

#include <QStandardPaths>
#include <QTemporaryDir>

QString imagemagick::tool(const char *name)
{
    return QStandardPaths::findExecutable(
        name, qEnvironmentVariable("PATH").remove(VELINOR_TESTS_DIR "/fakes:").split(':'));
}

QProcessEnvironment imagemagick::environment()
{
    static QTemporaryDir config; // out of the folders that the tests compare
    testenv::writeFile(config.filePath("ImageMagick/policy.xml"),
                       "<policymap><policy domain=\"coder\" rights=\"read|write\" pattern=\"PDF\"/>"
                       "</policymap>\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("PATH", env.value("PATH").remove(VELINOR_TESTS_DIR "/fakes:"));
    return env;
}

bool imagemagick::makePdf(const QString &path, int pages)
{
    // One loop for all pages: Ghostscript's -c takes a short text only.
    const QString program = "<</PageSize [200 200]>> setpagedevice 1 1 " + QString::number(pages) +
                            " { 0 1 99 { dup 99 div setgray 2 mul 60 2 30 rectfill } for "
                            "0 1 199 { dup 199 div 1 1 sethsbcolor 95 1 30 rectfill } for "
                            "1 0 0 setrgbcolor 130 130 50 50 rectfill "
                            "0 setgray 0 0 3 -1 roll 12.5 mul 8 rectfill showpage } for";
    return QProcess::execute(tool("gs"),
                             {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pdfwrite",
                              "-sOutputFile=" + path, "-c", program}) == 0;
}

QString imagemagick::identify(const QString &image, const QString &format)
{
    QProcess p;
    p.setStandardInputFile(image);
    p.start(tool("identify"), {"-format", format, "-"});
    return p.waitForFinished() && p.exitCode() == 0 ? p.readAllStandardOutput().trimmed() : "";
}
