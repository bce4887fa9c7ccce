#include "modalanswerer.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>

void ModalAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == last)
        return; // none, or the one answered already and still closing
    last = modal;
    auto *box = qobject_cast<QMessageBox *>(modal);
    auto *dialog = qobject_cast<QFileDialog *>(modal);
    records << ModalRecord{box ? box->icon() : QMessageBox::NoIcon, modal->windowTitle(),
                           box ? box->text() : QString(),
                           dialog ? dialog->directory().absolutePath() : QString()};
    unexpected += answers.isEmpty();
    const QStringList paths = answers.isEmpty() ? QStringList() : answers.takeFirst();
    if (!dialog || paths.isEmpty())
        return static_cast<QDialog *>(modal)->reject(); // OK is all that velinor's boxes have
    // Qt's own dialog reads several names typed in quotes.
    const QString typed = '"' + paths.join(QStringLiteral("\" \"")) + '"';
    dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
    static_cast<QDialog *>(dialog)->accept(); // protected in QFileDialog
}
