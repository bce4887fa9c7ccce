// Whether an output path would write over its own source, under the many spellings of a path.
#include "sourceprotection.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSourceProtection : public QObject
{
    Q_OBJECT

private slots:
    void overwrite_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("links"); // "link>target", both in the temporary folder
        QTest::addColumn<bool>("overwrites");

        const QStringList source{"d/img.png"};
        const QStringList none;
        QTest::newRow("same path") << "d/img.png"
                                   << "d/img.png" << source << none << true;
        QTest::newRow("same path, source not yet there") << "d/img.png"
                                                         << "d/img.png" << none << none << true;
        QTest::newRow("dot folder") << "d/img.png"
                                    << "d/./img.png" << source << none << true;
        QTest::newRow("dot-dot through a missing folder")
            << "d/img.png"
            << "d/sub/../img.png" << source << none << true;
        QTest::newRow("dot-dot in the source") << "d/sub/../img.png"
                                               << "d/img.png" << source << none << true;
        QTest::newRow("doubled slash") << "d/img.png"
                                       << "d//img.png" << source << none << true;
        QTest::newRow("other folder")
            << "d/img.png"
            << "e/img.png" << QStringList{"d/img.png", "e/img.png"} << none << false;
        QTest::newRow("other extension") << "d/img.png"
                                         << "d/img.jpg" << source << none << false;
        QTest::newRow("output not yet written")
            << "d/cours.pdf"
            << "d/cours.png" << QStringList{"d/cours.pdf"} << none << false;
        QTest::newRow("neither exists") << "d/a.png"
                                        << "d/b.png" << none << none << false;
        // Letter case makes two files only where the file system tells it apart.
#ifdef Q_OS_WIN
        const bool caseBlind = true;
#else
        const bool caseBlind = false;
#endif
        QTest::newRow("case difference") << "d/img.png"
                                         << "d/IMG.png" << source << none << caseBlind;
        // Windows makes ".lnk" shortcuts instead of symbolic links.
#ifndef Q_OS_WIN
        QTest::newRow("link to the source")
            << "d/img.png"
            << "e/img.png" << source << QStringList{"e/img.png>d/img.png"} << true;
        QTest::newRow("linked folder") << "d/img.png"
                                       << "e/img.png" << source << QStringList{"e>d"} << true;
        QTest::newRow("link to another file")
            << "d/img.png"
            << "e/img.png" << QStringList{"d/img.png", "d/other.png"}
            << QStringList{"e/img.png>d/other.png"} << false;
#endif
    }

    void overwrite()
    {
        QFETCH(QString, source);
        QFETCH(QString, output);
        QFETCH(QStringList, files);
        QFETCH(QStringList, links);
        QTemporaryDir dir;
        for (const QString &file : files)
            testenv::writeFile(dir.filePath(file));
        for (const QString &link : links) {
            const QString name = dir.filePath(link.section('>', 0, 0));
            QDir().mkpath(QFileInfo(name).absolutePath());
            QVERIFY(QFile::link(dir.filePath(link.section('>', 1, 1)), name));
        }

        // Joined by hand, so that "./", ".." and "//" reach the function as written.
        QTEST(velinor::wouldOverwriteSource(dir.path() + '/' + source, dir.path() + '/' + output),
              "overwrites");
    }
};

QTEST_GUILESS_MAIN(TestSourceProtection)
#include "tst_sourceprotection.moc"
