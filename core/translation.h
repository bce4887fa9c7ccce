#ifndef VELINOR_TRANSLATION_H
#define VELINOR_TRANSLATION_H

#include <QString>

class QCoreApplication;
class QTranslator;

namespace velinor {

// "fr_FR" gives "velinor_fr"; a locale name without "_" (such as "C") is kept whole.
QString translationFileName(const QString &localeName);

// Loads the translation for the system language from the working directory and installs it
// whether or not the file was found: without one, the French source texts show.
void installTranslator(QCoreApplication &app, QTranslator &translator);

} // namespace velinor

#endif
