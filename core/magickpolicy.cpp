#include "magickpolicy.h"

#include "childprocess.h"
#include "pdfpages.h"
#include "scratchfolders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>

namespace velinor {

namespace {

constexpr int probeTimeoutMs = 5000;
const char grantLine[] = R"(<policy domain="coder" rights="read|write" pattern="PDF" />)";

// ImageMagick checks its policy before it hands the document to Ghostscript, and says so in
// these words, which it does not translate.
bool refusesPdf(const QString &converter)
{
    QTemporaryDir folder(scratchTemplate());
    QFile probe(folder.filePath(QStringLiteral("probe.pdf")));
    if (!folder.isValid() || !probe.open(QIODevice::WriteOnly) ||
        probe.write("%PDF-1.4\n%%EOF\n") < 0)
        return false;
    probe.close();
    QProcess process;
    const ChildGuard guard(process);
    process.setWorkingDirectory(folder.path());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(converter, {QStringLiteral("-ping"), probe.fileName(), QStringLiteral("null:")});
    if (!process.waitForFinished(probeTimeoutMs)) {
        signalChild(process, StopRequest::Kill);
        process.waitForFinished(-1);
        return false;
    }
    return process.readAllStandardError().contains("security policy");
}

// The last word on PDF in a policy map is ImageMagick's: the last coder entry naming it.
bool grantsPdf(const QByteArray &policy, QString *malformed)
{
    QXmlStreamReader xml(policy);
    bool granted = false;
    bool rootSeen = false;
    const auto is = [&xml](const char *attribute, const char *value) {
        return xml.attributes()
                   .value(QLatin1String(attribute))
                   .compare(QLatin1String(value), Qt::CaseInsensitive) == 0;
    };
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (!rootSeen && xml.name() != QLatin1String("policymap"))
            break;
        if (rootSeen && xml.name() == QLatin1String("policy") && is("domain", "coder") &&
            is("pattern", "PDF"))
            granted = xml.attributes()
                          .value(QLatin1String("rights"))
                          .contains(QLatin1String("read"), Qt::CaseInsensitive);
        rootSeen = true;
    }
    if (xml.hasError())
        *malformed = QStringLiteral("%1 (%2:%3)")
                         .arg(xml.errorString())
                         .arg(xml.lineNumber())
                         .arg(xml.columnNumber());
    else if (!rootSeen)
        *malformed = QStringLiteral("<policymap>");
    return granted;
}

// The user's entries stay as they are, byte for byte; the grant goes last, where it wins.
QByteArray withGrant(QByteArray policy)
{
    const qsizetype end = policy.lastIndexOf("</policymap>");
    if (end >= 0)
        return policy.insert(end, QByteArray("  ") + grantLine + "\n");
    static const QRegularExpression empty(QStringLiteral("<policymap\\s*/>"));
    return QString::fromUtf8(policy)
        .replace(empty, QStringLiteral("<policymap>\n  %1\n</policymap>").arg(grantLine))
        .toUtf8();
}

PolicyChange write(PolicyChange change, const QByteArray &policy)
{
    QDir().mkpath(QFileInfo(change.path).absolutePath());
    QSaveFile file(change.path);
    if (!file.open(QIODevice::WriteOnly) || file.write(policy) != policy.size() || !file.commit()) {
        change.outcome = PolicyChange::Outcome::Unwritable;
        change.error = file.errorString();
    }
    return change;
}

} // namespace

QString userPolicyPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/ImageMagick/policy.xml");
}

bool pdfRefused(const QString &converter, const QStringList &sources)
{
    const bool listsPdf = std::any_of(sources.cbegin(), sources.cend(), [](const QString &s) {
        return documentKind(s) == DocumentKind::Pdf;
    });
    return listsPdf && refusesPdf(converter);
}

PolicyChange allowPdf()
{
    PolicyChange change;
    change.path = userPolicyPath();
    QFile existing(change.path);
    if (!existing.exists())
        return write(change, QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                        "<!-- Written by velinor: lets ImageMagick read and "
                                        "write PDF for this user. -->\n<policymap>\n  ") +
                                 grantLine + "\n</policymap>\n");
    if (!existing.open(QIODevice::ReadOnly)) {
        change.outcome = PolicyChange::Outcome::Unreadable;
        change.error = existing.errorString();
        return change;
    }
    const QByteArray policy = existing.readAll();
    const bool granted = grantsPdf(policy, &change.error);
    if (!change.error.isEmpty())
        change.outcome = PolicyChange::Outcome::Malformed;
    else if (granted)
        change.outcome = PolicyChange::Outcome::AlreadyGranted;
    if (!change.error.isEmpty() || granted)
        return change;
    change.outcome = PolicyChange::Outcome::Merged;
    return write(change, withGrant(policy));
}

} // namespace velinor
