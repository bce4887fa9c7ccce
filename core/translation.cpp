#include "translation.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace velinor {

QString translationFileName(const QString &localeName)
{
    return QStringLiteral("velinor_") + localeName.section(QLatin1Char('_'), 0, 0);
}

void installTranslator(QCoreApplication &app, QTranslator &translator)
{
    // Default directory, delimiters and suffix: the name is relative to the working directory,
    // ".qm" is tried first, then shorter names cut at "_" or ".".
    (void)translator.load(translationFileName(QLocale::system().name()));
    app.installTranslator(&translator);
}

} // namespace velinor
