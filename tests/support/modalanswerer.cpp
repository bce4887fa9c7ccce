#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <limits>

ModalAnswerer::ModalAnswerer()
{
    timer.setInterval(10);
    connect(&timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer.start();
}

ModalAnswerer::~ModalAnswerer() = default;

ModalAnswerer &ModalAnswerer::clickOk()
{
    answers.append(Answer{Answer::Ok, {}});
    return *this;
}

ModalAnswerer &ModalAnswerer::choose(const QStringList &paths)
{
    answers.append(Answer{Answer::Choose, paths});
    return *this;
}

ModalAnswerer &ModalAnswerer::cancel()
{
    answers.append(Answer{Answer::Cancel, {}});
    return *this;
}

void ModalAnswerer::clear()
{
    answers.clear();
    seen.clear();
    unanswered = 0;
}

void ModalAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    for (const QPointer<QWidget> &done : handled)
        if (done == modal)
            return; // already answered, still closing
    handled.append(modal);
    seen.append(describe(modal));
    answer(modal);
}

ModalRecord ModalAnswerer::describe(QWidget *modal)
{
    ModalRecord r;
    r.className = QString::fromLatin1(modal->metaObject()->className());
    r.title = modal->windowTitle();
    r.parent = modal->parentWidget();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        r.text = box->text();
        r.icon = box->icon();
        r.buttons = box->standardButtons();
        r.buttonCount = int(box->buttons().size());
        r.defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton())
                                               : QMessageBox::NoButton;
    } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        r.directory = dialog->directory().absolutePath();
        r.nameFilters = dialog->nameFilters();
        r.selectedNameFilter = dialog->selectedNameFilter();
        r.fileMode = dialog->fileMode();
        r.options = dialog->options();
    }
    return r;
}

static void chooseIn(QFileDialog *dialog, const QStringList &paths)
{
    auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (dialog->fileMode() == QFileDialog::Directory) {
        dialog->setDirectory(paths.value(0));
        if (nameEdit)
            nameEdit->clear();
    } else if (nameEdit) {
        QStringList quoted;
        for (const QString &p : paths)
            quoted << QLatin1Char('"') + p + QLatin1Char('"');
        // The field keeps 32767 characters by default, a few hundred paths; and the completion
        // that selects each typed name in the dialog's view takes quadratic time over them.
        // Accepting reads the names from the field all the same.
        nameEdit->setMaxLength(std::numeric_limits<int>::max());
        const QSignalBlocker noCompletion(paths.size() > 1 ? nameEdit : nullptr);
        nameEdit->setText(paths.size() == 1 ? paths.first() : quoted.join(QLatin1Char(' ')));
    }
    // accept() is protected in QFileDialog; through QDialog it still reaches the override.
    static_cast<QDialog *>(dialog)->accept();
}

void ModalAnswerer::answer(QWidget *modal)
{
    const bool queued = !answers.isEmpty();
    const Answer a = queued ? answers.takeFirst() : Answer{Answer::Cancel, {}};
    if (!queued)
        ++unanswered;

    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        QAbstractButton *ok = box->button(QMessageBox::Ok);
        if (!ok && !box->buttons().isEmpty())
            ok = box->buttons().first();
        if (ok)
            ok->click();
        else
            box->reject();
        return;
    }
    auto *dialog = qobject_cast<QDialog *>(modal);
    auto *fileDialog = qobject_cast<QFileDialog *>(modal);
    if (fileDialog && a.kind == Answer::Choose)
        chooseIn(fileDialog, a.paths);
    else if (dialog)
        dialog->reject();
    else
        modal->close();
}
