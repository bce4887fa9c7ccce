#ifndef VELINOR_MODALANSWERER_H
#define VELINOR_MODALANSWERER_H

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaEnum>

// What a box or a dialog showed: a box its icon, title and text, a file dialog its title and
// the folder it opened in.
struct ModalRecord
{
    QMessageBox::Icon icon;
    QString title, text, directory, details;
};

// Answers the boxes and dialogs that QMessageBox's and QFileDialog's static functions open, in
// the order they come, with the answers queued. One met with no answer left is closed all the
// same (OK, or Cancel), so that a test never hangs, and counted as unexpected.
class ModalAnswerer : public QObject
{
public:
    ModalAnswerer() { startTimer(10); }
    // For a box, the button of these words (or of this standard name: Yes), else OK or its escape;
    // for a file dialog, these paths typed in and accepted, or Cancel when none.
    void answer(const QStringList &paths = {}) { answers << paths; }

    QList<ModalRecord> records;
    int unexpected = 0;

private:
    QList<QStringList> answers;

    // Every 10 ms: the modal box or dialog on top, if any.
    void timerEvent(QTimerEvent *) override
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
                               dialog ? dialog->directory().absolutePath() : QString(),
                               box ? box->detailedText() : QString()};
        unexpected += answers.isEmpty();
        const QStringList paths = answers.isEmpty() ? QStringList() : answers.takeFirst();
        if (box && !paths.isEmpty())
            for (QAbstractButton *button : box->buttons())
                if (button->text().remove('&') == paths.join(' ') ||
                    paths.join(' ') ==
                        QMessageBox::staticMetaObject
                            .enumerator(
                                QMessageBox::staticMetaObject.indexOfEnumerator("StandardButtons"))
                            .valueToKey(box->standardButton(button)))
                    return button->click();
        if (!dialog || paths.isEmpty())
            return modal->reject(); // OK, or the answer that changes nothing
        // Qt's own dialog reads several names typed in quotes.
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
            ->setText('"' + paths.join(QStringLiteral("\" \"")) + '"');
        modal->accept();
    }
};

#endif
