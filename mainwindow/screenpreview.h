#ifndef VELINOR_SCREENPREVIEW_H
#define VELINOR_SCREENPREVIEW_H

#include "childprocess.h"
#include "preview.h"

#include <QDialog>
#include <QImage>
#include <QTemporaryDir>

#include <memory>

class QLabel;
class QThread;

namespace velinor {
class ConverterProcess;
class LiteralNames;
} // namespace velinor

// A page of a file at a time, rendered as the current options make it, seen through the
// calculator's 320×240 screen at 1:1: the arrow keys move the screen, Page Up and Page Down
// turn the pages. Nothing is written but into a temporary folder of its own.
class ScreenPreview : public QDialog
{
    Q_OBJECT

public:
    ScreenPreview(const QString &converter, const QString &source,
                  const velinor::ConversionOptions &options, QWidget *parent = nullptr);
    ~ScreenPreview() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void planned(const velinor::PreviewPlan &made);
    void render(int page);
    void rendered(bool written);
    void showScreen();

    QString converter;
    QString fileName;
    QTemporaryDir folder;
    velinor::StopRequest stop;
    std::unique_ptr<QThread> planner;
    velinor::PreviewPlan plan;
    std::unique_ptr<velinor::ConverterProcess> process;
    std::unique_ptr<velinor::LiteralNames> names;
    QLabel *screen;
    QLabel *place;
    QImage image;
    int page = 0;
    bool rendering = false;
    QPoint corner; // of the screen on the page
};

#endif
