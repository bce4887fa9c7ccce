#ifndef VELINOR_MODALANSWERER_H
#define VELINOR_MODALANSWERER_H

#include <QFileDialog>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

// What a modal box or dialog looked like when the answerer met it.
struct ModalRecord
{
    QString className; // "QMessageBox", "QFileDialog", ...
    QString title;
    QString text; // message boxes
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    int buttonCount = 0;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QWidget *parent = nullptr; // compare only while the parent still lives
    QString directory;         // file dialogs: the folder it opened in
    QStringList nameFilters;
    QString selectedNameFilter;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QFileDialog::Options options;
};

// Answers the modal boxes and dialogs that the static QMessageBox and QFileDialog functions
// open, in the order they appear: each one is recorded, then answered with the next queued
// answer. A box or dialog with no answer queued is still recorded and closed (OK for a box,
// Cancel for a dialog), so that a test never hangs; it then shows up in unexpected().
class ModalAnswerer : public QObject
{
public:
    ModalAnswerer();
    ~ModalAnswerer() override;

    // Queue answers, in the order the modals will appear.
    ModalAnswerer &clickOk();                        // a message box: its OK button
    ModalAnswerer &choose(const QStringList &paths); // a file dialog: select and accept
    ModalAnswerer &choose(const QString &path) { return choose(QStringList{path}); }
    ModalAnswerer &cancel(); // a file dialog: reject

    const QList<ModalRecord> &records() const { return seen; }
    int unexpected() const { return unanswered; }
    int pending() const { return int(answers.size()); }
    void clear();

private:
    struct Answer
    {
        enum Kind { Ok, Choose, Cancel } kind;
        QStringList paths;
    };
    void poll();
    void answer(QWidget *modal);
    static ModalRecord describe(QWidget *modal);

    QTimer timer;
    QList<Answer> answers;
    QList<ModalRecord> seen;
    QList<QPointer<QWidget>> handled;
    int unanswered = 0;
};

#endif
