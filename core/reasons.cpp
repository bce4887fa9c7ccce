#include "reasons.h"

#include "engine.h"
#include "magickpolicy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace velinor {

static QString tr(const char *text)
{
    return QCoreApplication::translate("velinor", text);
}

bool isControl(QChar c)
{
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format: // among them the marks that turn text right to left
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString escapeControls(const QString &text)
{
    if (std::none_of(text.cbegin(), text.cend(), isControl))
        return text;
    QString escaped;
    for (const QChar c : text) {
        if (c == QLatin1Char('\n'))
            escaped += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            escaped += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            escaped += QLatin1String("\\r");
        else if (isControl(c) && c.unicode() < 0x100)
            escaped += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else if (isControl(c))
            escaped += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    return escaped;
}

QStringList failureDetails(const FileResult &result)
{
    using Outcome = FileResult::Outcome;
    QStringList lines;
    if (result.outcome == Outcome::Crashed)
        lines << tr("Le convertisseur s'est arrêté brutalement.");
    else if (result.outcome == Outcome::NotStarted)
        lines << tr("Le convertisseur n'a pas pu être lancé.");
    else
        lines << tr("Code de sortie du convertisseur : %1").arg(result.exitCode);
    for (const QString &line : result.errorTail)
        lines << escapeControls(line);
    return lines;
}

QStringList packFailure(const QString &fileName, const FileResult &result)
{
    const PackResult &pack = result.pack;
    const QString path = escapeControls(QDir::toNativeSeparators(pack.path));
    const QString error = escapeControls(pack.error);
    return {tr("Les images de « %1 » n'ont pas pu être réunies en un fichier .cbz.tns : elles "
               "restent telles quelles.")
                .arg(fileName),
            pack.outcome == PackResult::Outcome::Unreadable
                ? tr("Impossible de lire « %1 » : %2").arg(path, error)
                : tr("Impossible d'écrire « %1 » : %2").arg(path, error)};
}

QString unreadableDetails(const QString &path)
{
    const QFileInfo file(path);
    const QString name = escapeControls(QDir::toNativeSeparators(path));
    if (!file.exists())
        return tr("« %1 » n'existe pas.").arg(name);
    if (!file.isFile())
        return tr("« %1 » n'est pas un fichier ordinaire (un dossier, un tube ou un "
                  "périphérique, par exemple).")
            .arg(name);
    return tr("« %1 » ne peut pas être lu : vous n'avez pas le droit de le lire.").arg(name);
}

QString policyChangeText(const PolicyChange &change)
{
    using Outcome = PolicyChange::Outcome;
    const QString path = escapeControls(QDir::toNativeSeparators(change.path));
    const QString untouched = tr("Le fichier « %1 » est resté tel quel, et ImageMagick refuse "
                                 "toujours les PDF : %2")
                                  .arg(path, escapeControls(change.error));
    switch (change.outcome) {
    case Outcome::Written:
        return tr("ImageMagick peut désormais lire les PDF pour votre compte : velinor a écrit "
                  "« %1 ».")
            .arg(path);
    case Outcome::Merged:
        return tr("ImageMagick peut désormais lire les PDF pour votre compte : velinor l'a ajouté "
                  "à « %1 », où vos réglages restent tels quels.")
            .arg(path);
    case Outcome::AlreadyGranted:
        return tr("« %1 » autorise déjà ImageMagick à lire les PDF pour votre compte.").arg(path);
    case Outcome::Unreadable:
        return tr("Impossible de lire votre politique d'ImageMagick. %1").arg(untouched);
    case Outcome::Malformed:
        return tr("Votre politique d'ImageMagick n'est pas un fichier qu'il sait lire. %1")
            .arg(untouched);
    case Outcome::Unwritable:
        return tr("Impossible d'écrire votre politique d'ImageMagick. %1").arg(untouched);
    }
    return QString();
}

} // namespace velinor
