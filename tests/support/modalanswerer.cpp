#include "modalanswerer.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>

void ModalAnswerer::poll()
{
    auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    // One answered already may still be closing.
    if (!modal || !modal->isVisible() || modal->property("answered").toBool())
        return;
    modal->setProperty("answered", true);
    auto *box = qobject_cast<QMessageBox *>(modal);
    auto *dialog = qobject_cast<QFileDialog *>(modal);
    records << ModalRecord{box ? box->icon() : QMessageBox::NoIcon, modal->windowTitle(),
                           box ? box->text() : QString(),
                           dialog ? dialog->directory().absolutePath() : QString()};
    unexpected += answers.isEmpty();
    const QStringList paths = answers.isEmpty() ? QStringList() : answers.takeFirst();
    if (!dialog || paths.isEmpty())
        return modal->reject(); // OK is all that velinor's boxes have
    // Qt's own dialog reads several names typed in quotes.
    const QString typed = '"' + paths.join(QStringLiteral("\" \"")) + '"';
    dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
    modal->accept();
}
