#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "formatrules.h"

// JPEG has no 4-bpp modes and reads the compression as a quality, so a switch of format relabels
// the scale, resets it to the format's sensible value and locks or frees the 4-bpp choices.
void MainWindow::on_choixJPEG_toggled(bool checked)
{
    if (checked) {
        form->labelCompressionFaible->setText(tr("Léger mais mauvaise qualité"));
        form->labelCompressionHaute->setText(tr("Lourd mais bonne qualité"));
        form->sliderCompression->setValue(velinor::defaultCompression(false));
        if (form->radioCouleurs4->isChecked() || form->radioGrayscale4->isChecked())
            form->radioCouleurs8->setChecked(true);
        form->radioCouleurs4->setEnabled(false);
        form->radioCouleurs4->setCheckable(false);
        form->radioGrayscale4->setEnabled(false);
        form->radioGrayscale4->setCheckable(false);
    } else {
        form->labelCompressionFaible->setText(tr("Rapide mais lourd"));
        form->labelCompressionHaute->setText(tr("Lent mais léger"));
        form->sliderCompression->setValue(velinor::defaultCompression(true));
        form->radioCouleurs4->setEnabled(true);
        form->radioCouleurs4->setCheckable(true);
        form->radioGrayscale4->setEnabled(true);
        form->radioGrayscale4->setCheckable(true);
    }
}
