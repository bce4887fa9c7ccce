// ImageMagick's policy of the user's own: what granting PDF writes, keeps and refuses to touch.
#include "magickpolicy.h"
#include "testenv.h"

#include <QTemporaryDir>

using Outcome = velinor::PolicyChange::Outcome;
static const QByteArray grant = R"(<policy domain="coder" rights="read|write" pattern="PDF" />)";
static const QByteArray own = R"(<policy domain="resource" name="memory" value="2GiB"/>)";

class TestPolicy : public QObject
{
    Q_OBJECT

private slots:
    // What lies at the policy's path before ("-" nothing, "/" a folder), the outcome, and the
    // file afterwards ("=" unchanged). An ImageMagick that is a file leaves nowhere to write.
    void allowPdf_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QByteArray>("after");
        const QByteArray map = "<policymap>\n  " + own + "\n</policymap>\n";
        QTest::newRow("no policy") << QByteArray("-") << Outcome::Written << QByteArray();
        QTest::newRow("the user's entries kept")
            << map << Outcome::Merged
            << "<policymap>\n  " + own + "\n  " + grant + "\n</policymap>\n";
        QTest::newRow("an empty map") << QByteArray("<!-- mine --><policymap/>") << Outcome::Merged
                                      << "<!-- mine --><policymap>\n  " + grant + "\n</policymap>";
        QTest::newRow("a refusal of the user's overruled last")
            << QByteArray(R"(<policymap><policy domain="coder" rights="none" pattern="PDF"/>)"
                          "</policymap>")
            << Outcome::Merged
            << R"(<policymap><policy domain="coder" rights="none" pattern="PDF"/>  )" + grant +
                   "\n</policymap>";
        QTest::newRow("granted already")
            << QByteArray(R"(<policymap><policy domain="Coder" rights="read" pattern="pdf"/>)"
                          "</policymap>")
            << Outcome::AlreadyGranted << QByteArray("=");
        QTest::newRow("malformed") << "<policymap>" + own << Outcome::Malformed << QByteArray("=");
        QTest::newRow("not a policy map")
            << QByteArray("<html><policymap/></html>") << Outcome::Malformed << QByteArray("=");
        QTest::newRow("unreadable") << QByteArray("/") << Outcome::Unreadable << QByteArray();
        QTest::newRow("unwritable") << QByteArray("file") << Outcome::Unwritable << QByteArray();
    }
    void allowPdf()
    {
        QFETCH(QByteArray, before);
        QFETCH(Outcome, outcome);
        QFETCH(QByteArray, after);
        const QTemporaryDir home;
        const ScopedEnv config("XDG_CONFIG_HOME", home.path().toUtf8() + "/config");
        const QString path = home.path() + "/config/ImageMagick/policy.xml";
        if (before == "/")
            QDir().mkpath(path);
        else if (before == "file")
            testenv::writeFile(home.path() + "/config/ImageMagick");
        else if (before != "-")
            testenv::writeFile(path, before);

        const velinor::PolicyChange change = velinor::allowPdf();
        QCOMPARE(change.outcome, outcome);
        QCOMPARE(change.path, path);
        QCOMPARE(change.error.isEmpty(), change.granted());
        if (outcome == Outcome::Written)
            QVERIFY(testenv::readFile(path).contains("<policymap>\n  " + grant + "\n</policymap>"));
        else if (!after.isEmpty())
            QCOMPARE(testenv::readFile(path), after == "=" ? before : after);
        QCOMPARE(QFileInfo(home.path() + "/config/ImageMagick").isFile(), before == "file");
    }
};

QTEST_MAIN(TestPolicy)
#include "tst_policy.moc"
