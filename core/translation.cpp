#include "translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace velinor {

QString translationFileName(const QString &localeName)
{
    return QStringLiteral("velinor_") + localeName.section(QLatin1Char('_'), 0, 0);
}

QStringList translationFolders(const QString &programFolder)
{
    return {QString(), programFolder,
            programFolder + QStringLiteral("/" VELINOR_INSTALLED_TRANSLATIONS)};
}

void installTranslator(QCoreApplication &app, QTranslator &translator)
{
    // Default delimiters and suffix in each folder: ".qm" is tried first, then shorter names
    // cut at "_" or "."; an empty folder is the working directory.
    const QString name = translationFileName(QLocale::system().name());
    for (const QString &folder : translationFolders(QCoreApplication::applicationDirPath())) {
        if (translator.load(name, folder))
            break;
    }
    app.installTranslator(&translator);
}

void installQtTranslator(QCoreApplication &app, QTranslator &translator)
{
    // Qt's catalogues are named by language, as ours are: qtbase_fr.qm serves fr_CA too.
    const QString name =
        QStringLiteral("qtbase_") + QLocale::system().name().section(QLatin1Char('_'), 0, 0);
    if (translator.load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
}

} // namespace velinor
