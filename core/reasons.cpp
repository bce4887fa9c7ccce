#include "reasons.h"

#include "engine.h"
#include "magickpolicy.h"
#include "nativenames.h"
#include "paths.h"
#include "runsetup.h"
#include "sourceprotection.h"

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

QString outcomeText(const FileResult &result, const QString &source, NameShown shown)
{
    using Outcome = FileResult::Outcome;
    const QString name = shown(fileName(source));
    switch (result.outcome) {
    case Outcome::Converted:
        break;
    case Outcome::Unreadable:
        return refusalText({SourceRefusal::Unreadable, QString()}, shown);
    case Outcome::ReplacesSource:
        return refusalText({SourceRefusal::ReplacesSource, result.replaced}, shown);
    case Outcome::TooTall:
        return tr("Impossible de créer une seule image de \"%1\" : ses %2 pages empilées feraient "
                  "%3 pixels de haut, plus que les %4 pixels qu'accepte ImageMagick.")
            // In one pass: a "%2" in the name must stay as it is.
            .arg(name, QString::number(result.image.pages), QString::number(result.image.height),
                 QString::number(result.image.limit));
    case Outcome::InvalidPdf:
        return tr("Le fichier « %1 » n'est pas un PDF valide : son arbre des pages annonce plus de "
                  "pages qu'il n'en contient.")
            .arg(name);
    case Outcome::NotStarted:
    case Outcome::Failed:
    case Outcome::Crashed:
        return tr("Erreur durant la conversion de \"%1\".").arg(name);
    case Outcome::PackFailed:
        return tr("Les images de « %1 » n'ont pas pu être réunies en un fichier .cbz.tns : elles "
                  "restent telles quelles.")
            .arg(name);
    }
    return QString();
}

QString refusalText(const SourceVerdict &verdict, NameShown shown)
{
    switch (verdict.refusal) {
    case SourceRefusal::None:
        break;
    case SourceRefusal::Unreadable:
        return tr("Le fichier spécifié n'existe pas !");
    case SourceRefusal::ReplacesSource:
        return tr("Conversion impossible de \"%1\" : l'image remplacerait le fichier source. "
                  "Choisissez un autre dossier de destination.")
            .arg(shown(fileName(verdict.replaced)));
    }
    return QString();
}

QString renameFailedText()
{
    return tr("L'opération de renommage en .tns a échoué.");
}

QString unrepresentableText(const QByteArray &bytes, NameShown shown)
{
    return tr("Le nom « %1 » n'est pas en UTF-8, le codage du système : velinor ne peut pas "
              "l'utiliser tel quel et ne lira ni n'écrira rien sous un autre nom.")
        .arg(shown(escapedName(bytes)));
}

QString uncreatableText(const QString &shownFolder)
{
    return tr("Impossible de créer le dossier de destination « %1 ».").arg(shownFolder);
}

QString uncreatableReason(const DestinationFolder &folder)
{
    using Outcome = DestinationFolder::Outcome;
    const QString blocking = escapeControls(QDir::toNativeSeparators(folder.blocking));
    switch (folder.outcome) {
    case Outcome::Ready:
        break;
    case Outcome::NotAFolder:
        return tr("« %1 » n'est pas un dossier.").arg(blocking);
    case Outcome::NotWritable:
        return tr("Vous n'avez pas le droit d'écrire dans « %1 ».").arg(blocking);
    case Outcome::Refused:
        return tr("Le système n'a rien pu créer dans « %1 ».").arg(blocking);
    }
    return QString();
}

QStringList failureDetails(const FileResult &result)
{
    using Outcome = FileResult::Outcome;
    QStringList lines;
    if (!result.cutImage.isEmpty())
        lines << tr("Le découpage en écrans de « %1 » a échoué.")
                     .arg(escapeControls(QDir::toNativeSeparators(result.cutImage)));
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

QString packDetails(const FileResult &result)
{
    const PackResult &pack = result.pack;
    const QString path = escapeControls(QDir::toNativeSeparators(pack.path));
    const QString error = escapeControls(pack.error);
    return pack.outcome == PackResult::Outcome::Unreadable
               ? tr("Impossible de lire « %1 » : %2").arg(path, error)
               : tr("Impossible d'écrire « %1 » : %2").arg(path, error);
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
