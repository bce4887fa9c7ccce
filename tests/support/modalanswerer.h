#ifndef VELINOR_MODALANSWERER_H
#define VELINOR_MODALANSWERER_H

#include <QMessageBox>
#include <QTimer>

// What a box or a dialog showed: a box its icon, title and text, a file dialog its title and
// the folder it opened in.
struct ModalRecord
{
    QMessageBox::Icon icon;
    QString title, text, directory;
};

// Answers the boxes and dialogs that QMessageBox's and QFileDialog's static functions open, in
// the order they come, with the answers queued. One met with no answer left is closed all the
// same (OK, or Cancel), so that a test never hangs, and counted as unexpected.
class ModalAnswerer : public QObject
{
public:
    ModalAnswerer()
    {
        connect(&timer, &QTimer::timeout, this, &ModalAnswerer::poll);
        timer.start(10);
    }
    // For a box, OK; for a file dialog, these paths typed in and accepted, or Cancel when none.
    void answer(const QStringList &paths = {}) { answers << paths; }

    QList<ModalRecord> records;
    int unexpected = 0;

private:
    void poll();

    QTimer timer;
    QList<QStringList> answers;
};

#endif
