#ifndef VELINOR_TRANSLATION_H
#define VELINOR_TRANSLATION_H

#include <QString>
#include <QStringList>

class QCoreApplication;
class QTranslator;

namespace velinor {

// "fr_FR" gives "velinor_fr"; a locale name without "_" (such as "C") is kept whole.
QString translationFileName(const QString &localeName);

// Where velinor_xx.qm is looked for, in this order: the working directory (""), the program's
// folder, then the installed translations relative to it.
QStringList translationFolders(const QString &programFolder);

// Loads the translation for the system language from the first folder of translationFolders()
// that has one, and installs it whether or not a file was found: without one, the French
// source texts show.
void installTranslator(QCoreApplication &app, QTranslator &translator);

// Qt's own texts (file dialogs, standard buttons, "About Qt") in the system language, from Qt's
// translations folder. On Windows the native dialogs speak the system's language by themselves;
// elsewhere they are Qt's, and need this catalogue.
void installQtTranslator(QCoreApplication &app, QTranslator &translator);

} // namespace velinor

#endif
