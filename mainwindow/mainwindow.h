#ifndef VELINOR_MAINWINDOW_H
#define VELINOR_MAINWINDOW_H

#include "paintthrottle.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QCloseEvent;
class QDragEnterEvent;
class QDragLeaveEvent;
class QDragMoveEvent;
class QDropEvent;
class QModelIndex;
class QStringListModel;

namespace velinor {
class Engine;
struct ConversionOptions;
struct FileResult;
struct StackedImage;
enum class TnsDirection;
} // namespace velinor

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Null until the first search, empty when no converter is known.
    QString converterPath() const { return converter; }
    // The destination as typed, chosen or filled in, never cleaned up.
    QString destinationPath() const { return destination; }
    // Files opened with velinor from the desktop join the list as dropped ones do; those named by
    // bytes that text cannot hold (refused) get a box each once the window runs.
    void addFiles(const QStringList &paths, const QList<QByteArray> &refused = {});

public slots:
    // Ends the run under way, if any, without asking, then closes: for the endings the user did
    // not choose in the window (a signal from the system).
    void closeWithoutAsking();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    // The order is that of the meta-object's method table; the form binds them by name.
    void on_boutonConvertir_clicked();
    void on_boutonRenommerTNS_clicked();
    void on_boutonRenommerIMG_clicked();
    void on_actionA_propos_de_Qt_triggered();
    void on_actionA_propos_triggered();
    void on_actionA_propos_de_Ghostscript_triggered();
    void on_actionA_propos_de_ImageMagick_triggered();
    void on_actionAide_triggered();
    void on_boutonSelectFichiers_clicked();
    void on_boutonChoisirDest_clicked();
    void on_lineChemin_textChanged(const QString &arg1);
    void on_actionD_tecter_convert_exe_triggered();
    void on_listeFichiersChoisis_doubleClicked(const QModelIndex &index);
    void on_actionVider_la_liste_triggered();
    void on_choixJPEG_toggled(bool checked);
    void on_boutonArreter_clicked();
    void on_boutonApercu_clicked();

private:
    static constexpr int progressPaintingMs = 50;

    void showStatus(const QString &message);
    void showProgress(int value);
    velinor::ConversionOptions currentOptions() const;
    QString tooTallAdvice(const velinor::StackedImage &image) const;
    void showResult(const QString &path, const velinor::FileResult &result,
                    const QString &unmade = QString());
    void showError(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                   const QString &details = QString());
    bool converterKnown();
    bool readyToConvert();
    bool convertFiles(const QString &unmade);
    bool runToEnd(velinor::Engine &engine);
    void setRunning(bool on);
    bool stopRunToQuit();
    void allowPdfIfRefused();
    void renameImages(velinor::TnsDirection direction);
    void filesAdded();
    // A name the system gives whose bytes text cannot hold: refused, with a box naming it.
    void refuseName(const QByteArray &bytes);
    void refuseLater(const QList<QByteArray> &names);
    void searchConverter();

    Ui::MainWindow *form;
    QStringList files;
    QStringListModel *filesModel;
    QString sourceFolder;
    QString destination;
    QString converter;
    velinor::Engine *running = nullptr; // the conversion under way
    bool closeAfterRun = false;
    bool pdfAllowed = false; // granted in the user's ImageMagick policy during this session
    // The bar and the status bar: painting them for every quick file would cost more than it.
    PaintThrottle progressPainting{progressPaintingMs};
};

#endif
