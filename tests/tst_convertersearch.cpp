// Finding the converter without a dialog: the install-folder rule, run over temporary folders that
// stand in for the program folders, and the PATH search.
#include "convertersearch.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Builds a tree under root: "a/b/" is a folder, "a/b" a file, "a/b*" an executable file.
static void build(const QString &root, const QStringList &layout)
{
    for (QString entry : layout) {
        if (entry.endsWith(QLatin1Char('/'))) {
            QDir(root).mkpath(entry);
            continue;
        }
        const bool executable = entry.endsWith(QLatin1Char('*'));
        if (executable)
            entry.chop(1);
        const QString path = testenv::writeFile(root + QLatin1Char('/') + entry);
        if (executable)
            QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    }
}

class TestConverterSearch : public QObject
{
    Q_OBJECT

private slots:
    void installFolders_data()
    {
        QTest::addColumn<QStringList>("layout");
        QTest::addColumn<QString>("found"); // empty: the search fails
        QTest::addColumn<QString>("start");

        QTest::newRow("first base missing, second searched")
            << QStringList{"pf/ImageMagick-6.8.1-Q16/convert.exe"}
            << "pf/ImageMagick-6.8.1-Q16/convert.exe"
            << "";
        QTest::newRow("first base preferred")
            << QStringList{"x86/ImageMagick-6.9.0/convert.exe", "pf/ImageMagick-7.0.0/convert.exe"}
            << "x86/ImageMagick-6.9.0/convert.exe"
            << "";
        QTest::newRow("first base exists without ImageMagick")
            << QStringList{"x86/", "pf/ImageMagick-6.8.1-Q16/convert.exe"} << ""
            << "x86";
        QTest::newRow("no base folder") << QStringList{} << ""
                                        << "pf";
        QTest::newRow("no ImageMagick folder") << QStringList{"pf/Other/convert.exe"} << ""
                                               << "pf";
        QTest::newRow("6.8.9 over 6.10.0") << QStringList{"pf/ImageMagick-6.10.0-Q16/convert.exe",
                                                          "pf/ImageMagick-6.8.9-Q16/convert.exe"}
                                           << "pf/ImageMagick-6.8.9-Q16/convert.exe"
                                           << "";
        QTest::newRow("6.8.10 over 6.8.1") << QStringList{"pf/ImageMagick-6.8.10-Q16/convert.exe",
                                                          "pf/ImageMagick-6.8.1-Q16/convert.exe"}
                                           << "pf/ImageMagick-6.8.10-Q16/convert.exe"
                                           << "";
        QTest::newRow("lower case sorts last")
            << QStringList{"pf/ImageMagick-7.0.0/convert.exe", "pf/imagemagick-6.9.0/convert.exe"}
            << "pf/imagemagick-6.9.0/convert.exe"
            << "";
        QTest::newRow("highest install lacks the program")
            << QStringList{"pf/ImageMagick-6.8.1/convert.exe", "pf/ImageMagick-6.9.0/"} << ""
            << "pf/ImageMagick-6.9.0";
        QTest::newRow("plain file is no install")
            << QStringList{"pf/ImageMagick-6.8.1/convert.exe", "pf/ImageMagick-9.zip"}
            << "pf/ImageMagick-6.8.1/convert.exe"
            << "";
        QTest::newRow("folder is no program")
            << QStringList{"pf/ImageMagick-6.8.1/convert.exe/"} << ""
            << "pf/ImageMagick-6.8.1";
        QTest::newRow("program spelled as the folder spells it")
            << QStringList{"pf/ImageMagick-6.8.1/CONVERT.EXE"} << "pf/ImageMagick-6.8.1/CONVERT.EXE"
            << "";
    }
    void installFolders()
    {
        QFETCH(QStringList, layout);
        QFETCH(QString, found);
        QFETCH(QString, start);

        QTemporaryDir root;
        build(root.path(), layout);
        const auto inRoot = [&](const QString &p) {
            return p.isEmpty() ? p : root.path() + QLatin1Char('/') + p;
        };
        const velinor::ConverterSearch search = velinor::searchInstallFolders(
            {root.path() + "/x86/", root.path() + "/pf/"}, "ImageMagick*", "convert.exe");
        QCOMPARE(search.path, inRoot(found));
        QCOMPARE(search.startFolder, inRoot(start));
    }

#ifndef Q_OS_WIN
    void path_data()
    {
        QTest::addColumn<QStringList>("layout");
        QTest::addColumn<QStringList>("path");
        QTest::addColumn<QString>("found");

        QTest::newRow("convert before an earlier magick")
            << QStringList{"a/magick*", "b/convert*"} << QStringList{"a", "b"} << "b/convert";
        QTest::newRow("first convert in PATH order")
            << QStringList{"a/convert*", "b/convert*"} << QStringList{"b", "a"} << "b/convert";
        QTest::newRow("magick without convert")
            << QStringList{"a/magick*"} << QStringList{"a"} << "a/magick";
        QTest::newRow("non-executable skipped")
            << QStringList{"a/convert", "b/convert*"} << QStringList{"a", "b"} << "b/convert";
        QTest::newRow("folder skipped")
            << QStringList{"a/convert/", "b/magick*"} << QStringList{"a", "b"} << "b/magick";
        QTest::newRow("none") << QStringList{"a/other*"} << QStringList{"a"} << "";
    }
    void path()
    {
        QFETCH(QStringList, layout);
        QFETCH(QStringList, path);
        QFETCH(QString, found);

        QTemporaryDir root;
        build(root.path(), layout);
        QStringList folders;
        for (const QString &p : path)
            folders << root.path() + QLatin1Char('/') + p;
        ScopedEnv env("PATH", folders.join(QLatin1Char(':')).toLocal8Bit());

        const QString expected = found.isEmpty() ? found : root.path() + QLatin1Char('/') + found;
        QCOMPARE(velinor::findConverter(), expected);
        QCOMPARE(velinor::searchConverter().startFolder,
                 found.isEmpty() ? QStringLiteral("/usr/bin") : QString());
    }
#endif
};

QTEST_GUILESS_MAIN(TestConverterSearch)
#include "tst_convertersearch.moc"
