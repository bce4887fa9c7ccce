#include "mainwindow.h"

#include "convertersearch.h"
#include "nativenames.h"

#include <QFileDialog>
#include <QMessageBox>

// Every search starts afresh and replaces the previous result, even a working one: a converter
// that has gone away must not be kept.
void MainWindow::searchConverter()
{
    const velinor::ConverterSearch search = velinor::searchConverter();
    converter = search.path;
    if (!converter.isEmpty())
        return;

#ifdef Q_OS_WIN
    const QString help =
        tr("La recherche automatique de ImageMagick a échoué. Si vous l'avez installé (nécessaire "
           "pour convertir), veuillez indiquer où se trouve l'exécutable \"convert.exe\".\n"
           "Habituellement, il se trouve dans :\n"
           "C:/Program Files/ImageMagick-X.X.X-QXX/convert.exe\n"
           "ou dans :\n"
           "C:/Program Files (x86)/ImageMagick-X.X.X-QXX/convert.exe");
    const QString filter = tr("convert.exe (convert.exe);;Tous les fichiers exécutables(*.exe)");
#else
    const QString help =
        tr("La recherche automatique de ImageMagick a échoué. Si vous l'avez installé (nécessaire "
           "pour convertir), veuillez indiquer où se trouve l'exécutable \"convert\".\n"
           "Habituellement, il se trouve dans :\n"
           "/usr/bin/convert");
    const QString filter = tr("convert (convert magick);;Tous les fichiers (*)");
#endif
    QMessageBox::information(this, tr("Lien vers convert.exe..."), help, QMessageBox::Ok);
    // Whatever the user picks is trusted as it is, but for a name that cannot be represented;
    // a cancel leaves no converter.
    converter = QFileDialog::getOpenFileName(this, tr("Indiquez où se trouve convert.exe"),
                                             search.startFolder, filter);
    const QByteArray misdecoded = velinor::misdecodedPath(converter);
    if (!misdecoded.isEmpty()) {
        converter.clear();
        refuseName(misdecoded);
    }
}

void MainWindow::on_actionD_tecter_convert_exe_triggered()
{
    searchConverter();
}
