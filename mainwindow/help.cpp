#include "mainwindow.h"

#include <QApplication>
#include <QMessageBox>

void MainWindow::on_actionA_propos_de_Qt_triggered()
{
    QApplication::aboutQt();
}

void MainWindow::on_actionA_propos_triggered()
{
    QMessageBox::information(
        this, tr("A propos..."),
        tr("velinor v2.0\npar pivolette\n\n"
           "velinor convertit vos documents PDF et vos images en images PNG ou "
           "JPEG adaptées aux calculatrices Nspire.\n\n"
           "La conversion est faite par ImageMagick et Ghostscript."),
        QMessageBox::Ok, QMessageBox::NoButton);
}

void MainWindow::on_actionA_propos_de_Ghostscript_triggered()
{
    QMessageBox::information(
        this, tr("A propos de Ghostscript..."),
        tr("Ghostscript est un logiciel permettant la manipulation des PDF.<br />Pour plus "
           "d'informations : <a href=\"https://www.ghostscript.com/\">site web</a> (EN)"),
        QMessageBox::Ok, QMessageBox::NoButton);
}

void MainWindow::on_actionA_propos_de_ImageMagick_triggered()
{
    QMessageBox::information(
        this, tr("A propos de ImageMagick..."),
        tr("ImageMagick est une suite de logiciel permettant la manipulation d'images dans plus de "
           "100 formats.<br />Pour plus d'informations : <a "
           "href=\"https://imagemagick.org/\">site web</a> (EN)"),
        QMessageBox::Ok, QMessageBox::NoButton);
}

void MainWindow::on_actionAide_triggered()
{
    QMessageBox::information(
        this, tr("Aide..."),
        tr("Afin d'obtenir de l'aide pour les différentes options, survollez-les et lisez les "
           "info-bulles.<br/>Afin d'obtenir une aide plus approfondie, allez sur le forum ou sur "
           "le chat de <a href=\"https://www.calcarium.fr/portail\">Calcarium</a>.<br/>Un topic "
           "est consacré à la conversion des pdf : <a "
           "href=\"https://www.calcarium.fr/forum/viewtopic.php?t=1207\">ici</a>."),
        QMessageBox::Ok, QMessageBox::NoButton);
}
